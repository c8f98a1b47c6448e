// The 15-minute countdown and the window caption.
#include "Tavola.h"

#include "platform/RuntimeError.h"
#include "records/ClassLogFormat.h"
#include "records/LogDates.h"

QString Tavola::clockText() const
{
    // The three fields, each as two digits at least: the form the class log keeps too.
    return records::clockText(ore * 3600 + minuti * 60 + qRound(secondi));
}

void Tavola::AvviaCronometro()
{
    Timer1->start();
    ore = 0;
    minuti = records::GameMinutes;
    secondi = 0;
    restanti = records::GameSeconds;
    lblconto->setCaption(clockText());
}

void Tavola::Timer1_Timer()
{
    // Once the game's line is stored there is nothing more to count or to ask.
    if (m_ended || m_resultStored) return;

    // The clock goes on while an exit question (or the time-over box) is open, down to
    // 00:00:00; a tick that finds the time over then does nothing, so that at most one
    // question is open at a time.
    if (m_exitQuestionOpen) {
        advanceClock();
        return;
    }

    if (lblconto->caption() == records::clockText(0)) {
        cmdExit_Click();
        if (m_ended || m_resultStored) return;
    }

    if (restanti < 1) {
        m_exitQuestionOpen = true;
        m_services.messageBox(QStringLiteral("Tempo scaduto"));
        m_exitQuestionOpen = false;
        if (m_ended) return;
        cmdExit_Click();
        if (m_ended || m_resultStored) return;
        // The clock stops for good; the game goes on and Exit still works.
        Timer1->stop();
        m_services.beep();
        return;
    }

    advanceClock();
}

void Tavola::advanceClock()
{
    // 00:00:00 is as far as the clock goes, whatever `restanti` says.
    if (ore <= 0 && minuti <= 0 && secondi <= 0) {
        restanti = 0;
        return;
    }
    if (secondi <= 0) {
        if (minuti > 0) {
            minuti = platform::add16(minuti, -1);
        } else {
            ore = platform::add16(ore, -1);
            minuti = 59;
        }
        secondi = 60;
    }
    secondi = secondi - 1;
    restanti = restanti > 0 ? platform::add16(restanti, -1) : qint16(0);
    lblconto->setCaption(clockText());

    // A minimised window tells the time left in its caption, and keeps it current.
    if (isMinimized()) TempoNelTitolo();
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
