// What a screen reader reads of the window.
//
// Labels keep their visible text as their accessible name; what a label means goes into its
// description (both fixed ones are given in the control table). Buttons are named by their visible
// caption (a pupil using speech input says what they see), and what they do is their description.
// Qt already reports a label's new text (a name change) whenever it changes; a screen reader,
// though, speaks chiefly what takes the focus, and the focus moves to the numerator box when a
// question is posed and to the new-question button when an answer has been judged. So the question,
// with the time left (and, for a competition's first question, the challenger and the record), is
// put in the numerator box's description, and the verdict with the three counters in the
// new-question button's description: each is read as the focus lands there. At five minutes and at
// one minute left the time is added to the description of the control in focus, which a screen
// reader speaks at once; while the pupil is typing it waits for a pause. None of this changes
// what is seen (tool tips stay as they are).
#include "Tavola.h"
#include "TimeNotice.h"
#include "records/LogDates.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString numeratorHelp = QStringLiteral("Scrivi il numeratore, poi premi Invio");

// "00:14:52" as spoken: "14 minuti e 52 secondi".
QString spokenTime(const QString &clock)
{
    const QStringList parts = clock.split(QLatin1Char(':'));
    if (parts.size() != 3) return clock;
    const auto amount = [](const QString &digits, const char *one, const char *many) {
        const int n = digits.toInt();
        return n == 0 ? QString()
                      : QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    QStringList said;
    for (const QString &part :
         {amount(parts[0], "ora", "ore"), amount(parts[1], "minuto", "minuti"),
          amount(parts[2], "secondo", "secondi")})
        if (!part.isEmpty()) said << part;
    if (said.isEmpty()) return QStringLiteral("tempo scaduto");
    const QString last = said.takeLast();
    return said.isEmpty() ? last : said.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
}

// What the screen reader is told at the time marks, by the clock's caption.
QString timeMark(const QString &clock)
{
    if (clock == records::clockText(5 * 60)) return QStringLiteral("Restano 5 minuti.");
    if (clock == records::clockText(60)) return QStringLiteral("Resta 1 minuto.");
    return QString();
}

void dropAccessibilityEvent(QAccessibleEvent *) {}

} // namespace

void Tavola::setTextUnannounced(QLineEdit *box, const QString &text)
{
    // A screen reader takes the caret and text events of a box that is about to receive the
    // focus for the focus change itself, says nothing, and then ignores the real focus event:
    // the new question would go unheard. The box's text is read afresh when it takes the focus.
    const QAccessible::UpdateHandler previous =
        QAccessible::installUpdateHandler(dropAccessibilityEvent);
    box->setText(text);
    QAccessible::installUpdateHandler(previous);
}

void Tavola::describeForScreenReaders()
{
    // The fixed names and descriptions come with the control table; what follows keeps the
    // changing ones up to date.
    // A new question is read when the focus reaches the numerator box, with the time left;
    // the first one of a competition also tells who is challenging which record.
    m_firstQuestionTold = false;
    connect(lblNum1, &Label::captionChanged, this, [this](const QString &question) {
        if (!txtAnswer || !lblconto || !lblnome1 || !lblnome || !lblpunti) return;
        if (question.isEmpty()) {
            txtAnswer->setAccessibleDescription(numeratorHelp);
            return;
        }
        QString text = QStringLiteral("Scrivi %1 come frazione ridotta ai minimi termini. "
                                      "Tempo restante: %2. ")
                           .arg(question, spokenTime(lblconto->caption()));
        if (!m_firstQuestionTold) {
            m_firstQuestionTold = true;
            if (!lblnome1->caption().trimmed().isEmpty())
                text += QStringLiteral("Sfidante: %1. ").arg(lblnome1->caption().trimmed());
            const QString holder = lblnome->caption().trimmed();
            const QString points = lblpunti->caption().trimmed();
            if (points.isEmpty() && holder.isEmpty())
                text += QStringLiteral("Ancora nessun record. ");
            else if (holder.isEmpty())
                text += QStringLiteral("Il record è di %1 punti. ").arg(points);
            else
                text += QStringLiteral("Il record è di %1, con %2 punti. ").arg(holder, points);
        }
        txtAnswer->setAccessibleDescription(text + numeratorHelp + QLatin1Char('.'));
    });

    // The verdict and the counters are read when the focus reaches the new-question button.
    const auto describeResult = [this] {
        if (!cmdNext || !lblMessage || !lblScore || !lblScore1 || !lblScore2) return;
        QString text;
        if (!lblMessage->caption().isEmpty()) text = lblMessage->caption() + QStringLiteral(" ");
        text += QStringLiteral("%1 %2, %3 %4, %5 %6. Premi Invio per un nuovo numero.")
                    .arg(Label6->caption(), lblScore->caption(), Label1->caption(),
                         lblScore1->caption(), Label3->caption(), lblScore2->caption());
        cmdNext->setAccessibleDescription(text);
    };
    for (Label *label : {lblMessage, lblScore, lblScore1, lblScore2})
        connect(label, &Label::captionChanged, this, describeResult);

    // The time marks, spoken by a notice that appears without being seen, once the pupil
    // pauses typing.
    auto *notice = new TimeNotice(m_surface);
    for (AnswerBox *box : {txtAnswer, text3})
        connect(box, &AnswerBox::keyPress, notice, [notice](qint16 &) { notice->keyTyped(); });
    connect(lblconto, &Label::captionChanged, notice, [notice](const QString &clock) {
        const QString mark = timeMark(clock);
        if (!mark.isEmpty()) notice->announce(mark);
    });
}
