#include "platform/QtServices.h"
#include "platform/WindowSystemOptions.h"
#include "window/Tavola.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

#include <cstdio>

namespace {

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Solfira"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SOLFIRA_VERSION_TEXT));
}

struct CommandLine {
    int exitStatus = -1; // 0 or more: end at once with this status
    QString dataDirectory;
};

// Reads the command line before any window system is opened, so that --help, --version and
// a mistaken command line are answered on a machine with no display too. A mistake is
// reported on standard error with status 2; nothing is written anywhere else.
CommandLine readCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    nameTheApplication();
    QTranslator qtTranslator; // Qt's own messages ("Opzione sconosciuta") in Italian
    if (qtTranslator.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Solfira: scrivi i numeri decimali come frazioni ridotte ai minimi termini."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
        QStringLiteral("Mostra questo aiuto."));
    parser.addOption(help);
    parser.addVersionOption();
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("Cartella dei record e dei registri di classe (ad esempio una cartella "
                       "condivisa della scuola)."),
        QStringLiteral("DIR"));
    parser.addOption(dataDir);
    platform::acceptWindowSystemOptions(parser);

    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "solfira: %s\nProva 'solfira --help'.\n",
                     qPrintable(parser.errorText()));
        return {2, {}};
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "solfira: argomento inatteso '%s'\nProva 'solfira --help'.\n",
                     qPrintable(parser.positionalArguments().constFirst()));
        return {2, {}};
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("Solfira %s\n", SOLFIRA_VERSION_TEXT);
        std::fflush(stdout);
        return {0, {}};
    }
    if (parser.isSet(help))
        parser.showHelp(0); // prints the help and ends the process with status 0
    return {-1, parser.value(dataDir)};
}

} // namespace

int main(int argc, char *argv[])
{
    const CommandLine commandLine = readCommandLine(argc, argv);
    if (commandLine.exitStatus >= 0) return commandLine.exitStatus;

    QApplication app(argc, argv);
    nameTheApplication();
    QApplication::setDesktopFileName(QStringLiteral(SOLFIRA_APP_ID));

    // Qt's own dialog buttons in Italian ("Sì", "No", "Annulla").
    QTranslator qtTranslator;
    // Every text of the game is Italian, so its dialogs are too.
    if (qtTranslator.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Qt's dialogs look their button icons up by theme name in every icon folder, and ":/icons"
    // is one of them; ours holds only the program's own icons, never under those names, so it
    // is left out of the search instead of doubling every look-up before the name prompt.
    QStringList iconFolders = QIcon::themeSearchPaths();
    iconFolders.removeAll(QStringLiteral(":/icons"));
    QIcon::setThemeSearchPaths(iconFolders);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/solfira-32.png")));
    // The window is hidden while a new competition asks the name: that is not the end.
    QApplication::setQuitOnLastWindowClosed(false);

    platform::QtServices services;
    Tavola window(services, commandLine.dataDirectory);
    services.setDialogParent(&window);
    window.start();
    return QApplication::exec();
}
