// The end of a game: the exit question, the record and the class log.
#include "Tavola.h"

#include "platform/Conversions.h"
#include "records/RecordStore.h"
#include "texts/FailureText.h"

void Tavola::cmdExit_Click()
{
    if (m_exitQuestionOpen || m_resultStored) return;
    // Open from the question until the game is stored or its failure report is closed.
    m_exitQuestionOpen = true;
    const platform::Answer answer = m_services.messageBox(
        QStringLiteral("Vuoi veramente lasciarmi  ?"), platform::Buttons::YesNoQuestion,
        QStringLiteral("Uscire dal programma"));
    if (m_ended || answer != platform::Answer::Yes) {
        m_exitQuestionOpen = false;
        return;
    }

    records::FinishedGame game;
    game.summary = {lblnome1->caption(), Label6->caption(),    lblScore->caption(),
                    Label1->caption(),   lblScore1->caption(), Label11->caption(),
                    lblconto->caption(), Lbltime->caption()};
    fileClasse = classe->caption();
    game.className = fileClasse;
    game.score = platform::readNumber(lblScore->caption(), m_services.numberLocale());
    game.recordStored = m_recordStored;

    // The record files are compared and written under a lock, against the record as the
    // file holds it now (another copy of the game may share the folder).
    const records::FinishOutcome outcome =
        records::RecordStore(cartella).finishGame(game, m_lockWatch);
    riga = outcome.line;
    if (outcome.failure) {
        // Nothing is lost: the score stays on screen and Exit can be tried again.
        m_recordStored = outcome.recordStored;
        m_services.messageBox(texts::failureText(*outcome.failure) +
                              QStringLiteral("\n\nLa partita non è stata registrata: "
                                             "puoi riprovare con Exit."));
        m_exitQuestionOpen = false;
        return;
    }
    // The game is over: the clock stops at the time just logged.
    m_resultStored = true;
    Timer1->stop();
    m_exitQuestionOpen = false;
    if (outcome.newRecord)
        m_services.messageBox(QStringLiteral("Ok ho registrato il tuo record, C A M P I O N E\""));
    endProgram();
}
