// solfira-registro: the teacher's register of the games played with Solfira.

#include "RegisterSession.h"
#include "RegisterWindow.h"
#include "platform/QtTranslations.h"
#include "platform/RunProgram.h"
#include "records/DataDirectory.h"
#include "solfira/Version.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QLocale>
#include <QTranslator>

namespace {

// The register's command line: a data folder, a class to open, help and version.
platform::CommandLineOptions commandLineOptions()
{
    platform::CommandLineOptions options;
    options.program = QStringLiteral("solfira-registro");
    options.versionName = QStringLiteral("solfira-registro");
    options.description =
        QStringLiteral("Il registro delle partite di Solfira: tabella, riepilogo e grafici di "
                       "ogni classe.");
    options.messageLanguage = QLocale(); // Qt's own messages in the user's language
    options.dataDirectoryHelp =
        QStringLiteral("Legge i registri dalla cartella DIR (per esempio la cartella condivisa "
                       "della scuola) invece di quella del gioco.");
    options.classHelp = QStringLiteral("Apre subito il registro della classe NOME.");
    return options;
}

int runRegister(const platform::CommandLine &commandLine)
{
    QApplication::setOrganizationName(QStringLiteral("Solfira"));
    QApplication::setApplicationName(QStringLiteral("solfira-registro"));
    QApplication::setApplicationDisplayName(QStringLiteral("Registro di Solfira"));
    QApplication::setApplicationVersion(QLatin1String(solfira::VersionText));
    QGuiApplication::setDesktopFileName(QStringLiteral("it.solfira.Registro"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("it.solfira.Registro")));
    QTranslator qtTexts; // the file and print dialogs in the user's language
    platform::installQtTranslation(qtTexts, QLocale());

    // The register only reads: a missing directory is reported, never created.
    registro::RegisterSession session;
    if (commandLine.dataDirectoryGiven) {
        session.setDataDirectory(QDir(commandLine.dataDirectory).absolutePath());
    } else {
        const std::optional<records::SchoolSetting> school = records::schoolSetting();
        session.setDataDirectory(records::defaultDataDirectory(),
                                 school ? school->source : QString());
    }
    if (commandLine.classGiven) session.selectClassNamed(commandLine.className);

    registro::RegisterWindow window(&session);
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    return platform::runProgram(argc, argv, commandLineOptions(), runRegister);
}
