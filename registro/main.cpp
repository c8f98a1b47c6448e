// solfira-registro: the teacher's register of the games played with Solfira.

#include "RegisterSession.h"
#include "RegisterWindow.h"
#include "platform/WindowSystemOptions.h"
#include "records/DataDirectory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace {

struct CommandLine {
    int exitStatus = -1;             // 0 or more: end at once with this status
    bool dataDirectoryGiven = false; // otherwise the game's own
    QString dataDirectory;
    bool classGiven = false;
    QString className;
};

CommandLine endingWith(int status)
{
    CommandLine commandLine;
    commandLine.exitStatus = status;
    return commandLine;
}

// Qt's own texts (the command line's messages, the file and print dialogs) in the user's
// language.
void loadQtTexts(QTranslator &qtTexts)
{
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
}

// Reads the command line before any window system is opened, so that --help, --version and
// a mistaken command line are answered on a machine with no display too; a mistake is
// reported on standard error with status 2.
CommandLine readCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("solfira-registro"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SOLFIRA_VERSION_TEXT));
    QTranslator qtTexts;
    loadQtTexts(qtTexts);

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Il registro delle partite di Solfira: tabella, riepilogo e grafici di "
                       "ogni classe."));
    options.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("Legge i registri dalla cartella DIR (per esempio la cartella condivisa "
                       "della scuola) invece di quella del gioco."),
        QStringLiteral("DIR"));
    const QCommandLineOption className(QStringLiteral("classe"),
                                       QStringLiteral("Apre subito il registro della classe NOME."),
                                       QStringLiteral("NOME"));
    options.addOption(dataDir);
    options.addOption(className);
    platform::acceptWindowSystemOptions(options);

    if (!options.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "solfira-registro: %s\nProva 'solfira-registro --help'.\n",
                     qPrintable(options.errorText()));
        return endingWith(2);
    }
    if (!options.positionalArguments().isEmpty()) {
        std::fprintf(
            stderr, "solfira-registro: argomento inatteso '%s'\nProva 'solfira-registro --help'.\n",
            qPrintable(options.positionalArguments().constFirst()));
        return endingWith(2);
    }
    if (options.isSet(QStringLiteral("version"))) {
        std::printf("solfira-registro %s\n", SOLFIRA_VERSION_TEXT);
        std::fflush(stdout);
        return endingWith(0);
    }
    if (options.isSet(QStringLiteral("help")))
        options.showHelp(0); // prints the help and ends the process with status 0
    return {-1, options.isSet(dataDir), options.value(dataDir), options.isSet(className),
            options.value(className)};
}

} // namespace

int main(int argc, char *argv[])
{
    const CommandLine commandLine = readCommandLine(argc, argv);
    if (commandLine.exitStatus >= 0) return commandLine.exitStatus;

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Solfira"));
    QApplication::setApplicationName(QStringLiteral("solfira-registro"));
    QApplication::setApplicationDisplayName(QStringLiteral("Registro di Solfira"));
    QApplication::setApplicationVersion(QStringLiteral(SOLFIRA_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral("it.solfira.Registro"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("it.solfira.Registro")));
    QTranslator qtTexts;
    loadQtTexts(qtTexts);

    // The register only reads: a missing directory is reported, never created.
    const QString directory = commandLine.dataDirectoryGiven
                                  ? QDir(commandLine.dataDirectory).absolutePath()
                                  : records::defaultDataDirectory();

    registro::RegisterSession session;
    session.setDataDirectory(directory);
    if (commandLine.classGiven) session.selectClassNamed(commandLine.className);

    registro::RegisterWindow window(&session);
    window.show();
    return app.exec();
}
