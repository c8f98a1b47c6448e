// Starting a competition and the menu commands.
#include "Tavola.h"

#include "platform/Conversions.h"
#include "platform/RuntimeError.h"
#include "records/DataDirectory.h"
#include "records/RecordFiles.h"

using platform::Buttons;

void Tavola::start()
{
    guarded([this] { Form_Load(); });
    if (m_ended)
        return;
    m_activatePending = true;
    show();
}

void Tavola::Form_Load()
{
    esatte = 0;
    errate = 0;
    // The countdown waits while the start-up boxes are open.
    Timer1->stop();

    const QString nome = m_services.inputBox(QStringLiteral("Come ti chiami?"));
    m_services.messageBox(QStringLiteral(" ") + nome +
                          QStringLiteral(" vediamo se sei un vero campione  "));
    lblnome1->setCaption(nome);

    AvviaCronometro();
    esatte = 0;
    errate = 0;

    // The standing record. A file that cannot be created or read is reported; the game
    // goes on with empty record labels.
    cartella = GetSystemDir();
    const records::StandingRecord record = records::RecordStore(cartella).prepare();
    lblpunti->setCaption(record.score);
    lblnome->setCaption(record.holder);
    if (!record.error.isEmpty())
        m_services.messageBox(record.error +
                              QStringLiteral("\n\nLa gara continua senza il record."));

    restanti = platform::toInt16(secondi + records::GameSeconds);
    lblconto->setCaption(clockText());
    Lbltime->setCaption(m_services.todayShortDate());
}

QString Tavola::GetSystemDir()
{
    return records::resolveDataDirectory(m_dataDirectoryOverride);
}

void Tavola::clas_Click(qint16 Index)
{
    Q_UNUSED(Index);
    nomeClasse = m_services.inputBox(QStringLiteral("Classe?"));
    m_services.messageBox(QStringLiteral(" ") + QStringLiteral("Classe  ") + nomeClasse);
    classe->setCaption(nomeClasse);
}

void Tavola::HELP_Click()
{
    m_services.messageBox(lblnome1->caption() +
                          QStringLiteral(" Devi risolvere così: es 1,5=15/10 poi semplificando 3/2  ") +
                          QStringLiteral("Ciao"));
}

void Tavola::Next_Click()
{
    const int answer = m_services.messageBox(QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"),
                                             Buttons::YesNoQuestion,
                                             QStringLiteral("INIZIARE NUOVA GARA"));
    if (answer != platform::AnswerYes)
        return;
    reload();
}

void Tavola::reload()
{
    // Unload: the controls go (their timer with them), the form variables stay.
    Timer1->stop();
    hide();
    QWidget *old = takeCentralWidget();
    old->hide();
    old->deleteLater();
    m_solutionCurrent = false;
    m_questionJudged = false;
    createControls();
    // Load and show again.
    start();
}
