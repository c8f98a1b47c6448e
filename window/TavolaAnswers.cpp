// Answer entry and scoring.
#include "Tavola.h"
#include "TavolaFields.h"

#include "platform/Conversions.h"
#include "platform/RuntimeError.h"

#include <limits>

namespace {

// Keys the answer boxes simply take: "/", "+", digits, space and Backspace.
bool isAcceptedKey(qint16 key)
{
    return key == '/' || key == '+' || (key >= '0' && key <= '9') || key == ' ' || key == 8;
}

// A counter that a competition cannot fill; it stops at its top instead of failing.
void increment(qint16 &counter)
{
    if (counter < std::numeric_limits<qint16>::max()) ++counter;
}

} // namespace

QString Tavola::Numeroafrazione(const double &Valoredoppio, const qint16 &DigitateRt)
{
    if (!m_fields) m_fields = std::make_unique<Fields>(*this);
    return engine::Numeroafrazione(*m_fields, m_services, Valoredoppio, DigitateRt);
}

void Tavola::computeSolution()
{
    const double question = platform::readNumber(lblNum1->caption(), m_services.numberLocale());
    const QString fraction = Numeroafrazione(question, 0);
    lblNum2->setCaption(fraction);
    m_solutionCurrent = !fraction.startsWith(QLatin1String("#Error"));
}

void Tavola::txtAnswer_KeyPress(qint16 &KeyAscii)
{
    if (isAcceptedKey(KeyAscii)) return;
    text3->setFocus();
    computeSolution();
}

void Tavola::Command1_Click()
{
    computeSolution();
}

void Tavola::text3_KeyPress(qint16 &KeyAscii)
{
    if (isAcceptedKey(KeyAscii)) return;
    // Each question is judged once, always against its own solution.
    if (KeyAscii == 13 && !m_questionJudged) {
        if (!m_solutionCurrent) computeSolution();
        judgeAnswer();
        m_questionJudged = true;
    }
    cmdNext->setEnabled(true);
    cmdNext->setFocus();
}

void Tavola::judgeAnswer()
{
    const platform::NumberLocale locale = m_services.numberLocale();
    using platform::readLeadingNumber;

    // An answer is right only when both boxes hold plain whole numbers equal to the reduced
    // fraction; every other answer ("1 5", "3/2", an empty box, a letter) is wrong.
    const bool differs = readLeadingNumber(txtAnswer->text()) != readLeadingNumber(Text9->text()) ||
                         readLeadingNumber(Text10->text()) != readLeadingNumber(text3->text());
    const auto equals = [&locale](const QString &text, qint32 expected) {
        if (!platform::isPlainWholeNumber(text)) return false;
        try {
            return platform::readNumber(text, locale) == double(expected);
        } catch (const platform::RuntimeError &) {
            return false; // too many digits for any number
        }
    };
    const bool correct =
        !differs && equals(txtAnswer->text(), numeratore) && equals(text3->text(), denominatore);
    const auto total = [this] { return double(qint32(esatte) + qint32(errate)); };

    if (!correct) {
        increment(errate);
        lblMessage->setCaption(QStringLiteral("Sbagliato!! ") + Text9->text() +
                               QStringLiteral(" / ") + Text10->text());
    }
    m_surface->setBackColor(Qt::black);
    lblScore1->setCaption(platform::formatNumber(errate, u"###0", locale));
    lblScore2->setCaption(platform::formatNumber(total(), u"###0", locale));
    if (txtAnswer->text().isEmpty()) txtAnswer->setText(QStringLiteral("1"));
    if (text3->text().isEmpty()) text3->setText(QStringLiteral("1"));
    if (correct) {
        increment(esatte);
        lblMessage->setCaption(QStringLiteral("Esatto, è incredibile!!!"));
    }
    lblScore->setCaption(platform::formatNumber(esatte, u"###0", locale));
    lblScore2->setCaption(platform::formatNumber(total(), u"####0", locale));
}
