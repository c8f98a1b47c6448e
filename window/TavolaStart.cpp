// Starting a competition and the menu commands.
#include "Tavola.h"

#include "platform/Conversions.h"
#include "platform/RuntimeError.h"
#include "records/DataDirectory.h"
#include "records/RecordStore.h"
#include "solfira/Version.h"
#include "texts/FailureText.h"
#include "texts/FolderProblemText.h"

#include <QDir>
#include <QFile>

using platform::Buttons;

void Tavola::start()
{
    guarded([this] { Form_Load(); });
    if (m_ended) return;
    m_activatePending = true;
    show();
}

void Tavola::Form_Load()
{
    esatte = 0;
    errate = 0;
    // The countdown waits while the start-up boxes are open.
    Timer1->stop();

    // A pasted line break ends the name: no file ever gets a line of its own from it.
    const QString nome =
        records::promptText(m_services.inputBox(QStringLiteral("Come ti chiami?")));
    m_services.messageBox(QStringLiteral(" ") + nome +
                          QStringLiteral(" vediamo se sei un vero campione  "));
    lblnome1->setCaption(nome);

    AvviaCronometro();
    esatte = 0;
    errate = 0;

    // The standing record. A folder or file that cannot be reached, created or read is
    // reported; the game goes on with empty record labels.
    const records::DataDirectory folder = GetSystemDir();
    cartella = folder.path;
    records::StandingRecord record;
    if (folder.school && folder.failure) {
        // The school's share is not there (not mounted, no network): said once, with where the
        // folder comes from, so that whoever reads it knows what to look at.
        record.failure = folder.failure;
    } else {
        record = records::RecordStore(cartella).prepare();
    }
    lblpunti->setCaption(record.score);
    lblnome->setCaption(record.holder);
    if (record.failure) {
        QString text = texts::failureText(*record.failure);
        if (folder.school) text += texts::schoolSettingNote(folder.school->source);
        // A start-up box too: the countdown waits until it is closed.
        Timer1->stop();
        m_services.messageBox(text + QStringLiteral("\n\nLa gara continua senza il record."));
        Timer1->start();
    }

    restanti = platform::toInt16(secondi + records::GameSeconds);
    lblconto->setCaption(clockText());
    Lbltime->setCaption(m_services.todayShortDate());
}

records::DataDirectory Tavola::GetSystemDir()
{
    return records::resolveDataDirectory(m_dataDirectoryOverride);
}

void Tavola::clas_Click(qint16 Index)
{
    Q_UNUSED(Index);
    const QString typed = records::promptText(m_services.inputBox(QStringLiteral("Classe?")));
    // The class names a file: it is cut to what every file system can hold.
    nomeClasse = records::RecordStore(cartella).fittingClassName(typed);
    if (nomeClasse.size() < typed.size())
        m_services.messageBox(QStringLiteral("Il nome della classe è troppo lungo per diventare "
                                             "il nome di un file: ne tengo i primi %1 caratteri.")
                                  .arg(nomeClasse.toUcs4().size()));
    m_services.messageBox(QStringLiteral(" ") + QStringLiteral("Classe  ") + nomeClasse);
    classe->setCaption(nomeClasse);
}

void Tavola::HELP_Click()
{
    m_services.messageBox(
        lblnome1->caption() +
        QStringLiteral(" Devi risolvere così: es 1,5=15/10 poi semplificando 3/2  ") +
        QStringLiteral("Ciao"));
}

// The version, the licence, and the notices of what the program carries inside it (the
// Windows build holds Qt and its libraries, listed in ":/licenses/notices.txt").
void Tavola::showAbout()
{
    const QString summary =
        QStringLiteral("Solfira versione %1\n"
                       "Da numero decimale a frazione: un gioco a tempo per la scuola.\n\n"
                       "Solfira è software libero: puoi ridistribuirlo e modificarlo secondo i "
                       "termini della GNU General Public License, versione 3 o successiva. È "
                       "distribuito senza alcuna garanzia.\n\n"
                       "Usa le librerie Qt %2, sotto la GNU Lesser General Public License "
                       "versione 3.")
            .arg(QLatin1String(solfira::VersionText), QLatin1String(qVersion()));
    QFile notices(QStringLiteral(":/licenses/notices.txt"));
    const QString licences =
        notices.open(QIODevice::ReadOnly)
            ? QString::fromUtf8(notices.readAll())
            : QStringLiteral("Le librerie Qt sono quelle installate nel sistema, ciascuna con la "
                             "sua licenza (su Debian: /usr/share/doc/libqt6core6/copyright).");
    m_services.aboutBox(summary, licences);
}

void Tavola::Next_Click()
{
    const platform::Answer answer =
        m_services.messageBox(QStringLiteral("INIZIAMO UNA NUOVA GARA  ?"), Buttons::YesNoQuestion,
                              QStringLiteral("INIZIARE NUOVA GARA"));
    if (answer != platform::Answer::Yes) return;
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
    m_recordStored = false;
    createControls();
    // Load and show again.
    start();
}
