// What a screen reader reads of the window.
//
// Labels keep their visible text as their accessible name; what a label means goes into its
// description. Qt already reports a label's new text (a name change) whenever it changes; a
// screen reader, though, speaks chiefly what takes the focus, and the focus moves to the
// numerator box when a question is posed and to the new-question button when an answer has
// been judged. So the question is also put in the numerator box's description, and the
// verdict with the three counters in the new-question button's description: each is read as
// the focus lands there. None of this changes what is seen (tool tips stay as they are).
#include "Tavola.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

const QString numeratorHelp = QStringLiteral("Scrivi il numeratore, poi premi Invio");

QString numeratorDescription(const QString &question)
{
    if (question.isEmpty())
        return numeratorHelp;
    return QStringLiteral("Scrivi %1 come frazione ridotta ai minimi termini. %2")
        .arg(question, numeratorHelp);
}

} // namespace

void Tavola::describeForScreenReaders()
{
    // The two answer boxes: their titles are not shown, a screen reader needs them.
    txtAnswer->setAccessibleName(QStringLiteral("Numeratore"));
    txtAnswer->setAccessibleDescription(numeratorDescription(lblNum1->caption()));
    text3->setAccessibleName(QStringLiteral("Denominatore"));
    text3->setAccessibleDescription(QStringLiteral("Scrivi il denominatore, poi premi Invio"));

    // Labels: the visible text is the name; the description says what it is.
    lblNum1->setAccessibleDescription(QStringLiteral("Numero decimale da scrivere come frazione"));
    Label4->setAccessibleDescription(QStringLiteral("uguale"));
    lblMessage->setAccessibleDescription(QStringLiteral("Esito della risposta"));
    lblScore->setAccessibleDescription(Label6->caption());
    lblScore1->setAccessibleDescription(Label1->caption());
    lblScore2->setAccessibleDescription(Label3->caption());
    Label6->setAccessibleDescription(QStringLiteral("Titolo del contatore delle risposte esatte"));
    Label1->setAccessibleDescription(QStringLiteral("Titolo del contatore delle risposte errate"));
    Label3->setAccessibleDescription(QStringLiteral("Titolo del contatore delle risposte totali"));
    lblconto->setAccessibleDescription(
        QStringLiteral("Tempo restante della gara, in ore, minuti e secondi"));
    Label11->setAccessibleDescription(QStringLiteral("Titolo dell'orologio della gara"));
    Label12->setAccessibleDescription(QStringLiteral("Record della gara"));
    lblnome->setAccessibleDescription(QStringLiteral("Nome di chi detiene il record"));
    Label13->setAccessibleDescription(QStringLiteral("Record della gara"));
    lblpunti->setAccessibleDescription(QStringLiteral("Punti del record"));
    Label14->setAccessibleDescription(QStringLiteral("Chi sfida il record"));
    lblnome1->setAccessibleDescription(QStringLiteral("Il nome dello sfidante"));

    // Pictures have no text of their own; the striped one can take the focus.
    Picture1->setAccessibleName(QStringLiteral("Striscia colorata"));
    Picture1->setAccessibleDescription(QStringLiteral("Immagine decorativa"));
    Image1->setAccessibleName(QStringLiteral("Pinguini"));
    Image1->setAccessibleDescription(QStringLiteral("Immagine decorativa"));
    Line1[3]->setAccessibleName(QStringLiteral("Linea di frazione"));

    // Buttons.
    cmdNext->setAccessibleName(QStringLiteral("Nuovo calcolo"));
    cmdNext->setAccessibleDescription(QStringLiteral("Un nuovo numero da scrivere come frazione"));
    cmdExit->setAccessibleName(QStringLiteral("Esci"));
    cmdExit->setAccessibleDescription(
        QStringLiteral("Pulsante Exit: termina la gara e registra il punteggio"));
    Command1->setAccessibleName(QStringLiteral("Prepara la soluzione"));
    Command1->setAccessibleDescription(
        QStringLiteral("Calcola la soluzione del numero senza mostrarla"));

    // A new question is read when the focus reaches the numerator box.
    connect(lblNum1, &Label::captionChanged, this, [this](const QString &question) {
        if (txtAnswer)
            txtAnswer->setAccessibleDescription(numeratorDescription(question));
    });

    // The verdict and the counters are read when the focus reaches the new-question button.
    const auto describeResult = [this] {
        if (!cmdNext || !lblMessage || !lblScore || !lblScore1 || !lblScore2)
            return;
        QString text;
        if (!lblMessage->caption().isEmpty())
            text = lblMessage->caption() + QStringLiteral(" ");
        text += QStringLiteral("%1 %2, %3 %4, %5 %6. Premi Invio per un nuovo numero.")
                    .arg(Label6->caption(), lblScore->caption(), Label1->caption(),
                         lblScore1->caption(), Label3->caption(), lblScore2->caption());
        cmdNext->setAccessibleDescription(text);
    };
    for (Label *label : {lblMessage, lblScore, lblScore1, lblScore2})
        connect(label, &Label::captionChanged, this, describeResult);
}
