// Posing a question.
#include "Tavola.h"

#include "engine/QuestionDraw.h"

#include "platform/Conversions.h"
#include "platform/RuntimeError.h"

#include <cmath>

void Tavola::Form_Activate()
{
    cmdNext_Click();
}

void Tavola::cmdNext_Click()
{
    m_surface->clear();
    m_services.randomize();
    lblMessage->setCaption(QString());
    setTextUnannounced(txtAnswer, QString()); // the focus comes to it: that is what is read
    text3->setText(QString());
    m_services.randomize();
    lblNum1->setCaption(QString());
    m_services.randomize();
    m_solutionCurrent = false;
    m_questionJudged = false;

    // A number from 1 to 9 with one or two decimals, never whole once rounded for display.
    const question::Drawn drawn = question::draw(m_services, m_services.numberLocale());
    lblNum1->setCaption(drawn.caption);

    cmdNext->setEnabled(false);
    paintGradient(drawn.value);
    txtAnswer->setFocus();
}

// 256 bands from top to bottom, each 2 units high on a 512-unit vertical scale: blue rises
// from 0 to 255, red follows the unrounded question (20 times the value).
void Tavola::paintGradient(double value)
{
    const int redLevel = platform::toInt32(20 * value);
    const int height = m_surface->height();
    const int width = m_surface->width();
    for (int i = 0; i < 256; ++i) {
        const int top = int(std::lround(2.0 * i * height / 512.0));
        const int bottom = int(std::lround((2.0 * i + 2) * height / 512.0));
        m_surface->fillBox(QRect(0, top, width, bottom - top), QColor(redLevel, 0, i));
    }
}
