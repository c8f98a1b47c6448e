// The 15-minute countdown and the window caption.
#include "Tavola.h"

#include "platform/Conversions.h"
#include "platform/RuntimeError.h"
#include "records/ClassLogFormat.h"

QString Tavola::clockText() const
{
    const platform::NumberLocale locale; // "00" gives digits only
    return platform::formatNumber(ore, u"00", locale) + QLatin1Char(':') +
           platform::formatNumber(minuti, u"00", locale) + QLatin1Char(':') +
           platform::formatNumber(secondi, u"00", locale);
}

void Tavola::AvviaCronometro()
{
    Timer1->start();
    ore = 0;
    minuti = 15;
    secondi = 0;
    restanti = records::GameSeconds;
    lblconto->setCaption(clockText());
}

void Tavola::Timer1_Timer()
{
    // At most one exit question (or time-over box) is open: a tick meanwhile does nothing.
    if (m_exitQuestionOpen)
        return;

    if (lblconto->caption() == QLatin1String("00:00:00")) {
        cmdExit_Click();
        if (m_ended)
            return;
    }

    if (restanti < 1) {
        m_exitQuestionOpen = true;
        m_services.messageBox(QStringLiteral("Tempo scaduto"));
        m_exitQuestionOpen = false;
        if (m_ended)
            return;
        cmdExit_Click();
        if (m_ended)
            return;
        // The clock stops for good; the game goes on and Exit still works.
        Timer1->stop();
        m_services.beep();
        return;
    }

    if (secondi == 0) {
        if (minuti > 0) {
            minuti = platform::add16(minuti, -1);
            secondi = 60;
        } else if (minuti == 0) {
            if (ore > 0) {
                ore = platform::add16(ore, -1);
                minuti = 59;
                secondi = 60;
            } else {
                ore = 0;
                minuti = 0;
            }
        }
    }
    secondi = secondi - 1;
    restanti = platform::add16(restanti, -1);
    lblconto->setCaption(clockText());

    // A minimised window tells the time left in its caption, and keeps it current.
    if (isMinimized())
        TempoNelTitolo();
}

void Tavola::Form_Resize()
{
    if (isMinimized())
        TempoNelTitolo();
    else
        setWindowTitle(QStringLiteral("Virelba"));
}

void Tavola::TempoNelTitolo()
{
    setWindowTitle(lblconto->caption());
}
