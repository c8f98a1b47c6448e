#include "platform/QtServices.h"
#include "platform/QtTranslations.h"
#include "platform/RunProgram.h"
#include "solfira/Version.h"
#include "window/Tavola.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

namespace {

void nameTheApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Solfira"));
    QCoreApplication::setApplicationVersion(QLatin1String(solfira::VersionText));
}

// Every text of the game is Italian, so Qt's own are too: the command line's messages and the
// dialogs' buttons ("Sì", "No", "Annulla").
QLocale gameLanguage()
{
    return QLocale(QLocale::Italian, QLocale::Italy);
}

// The game's command line: a data folder, help and version.
platform::CommandLineOptions commandLineOptions()
{
    platform::CommandLineOptions options;
    options.program = QStringLiteral("solfira");
    options.versionName = QStringLiteral("Solfira");
    options.description = QStringLiteral(
        "Solfira: scrivi i numeri decimali come frazioni ridotte ai minimi termini.");
    options.messageLanguage = gameLanguage();
    options.helpText = QStringLiteral("Mostra questo aiuto.");
    options.dataDirectoryHelp =
        QStringLiteral("Cartella dei record e dei registri di classe (ad esempio una cartella "
                       "condivisa della scuola).");
    return options;
}

int runGame(const platform::CommandLine &commandLine)
{
    nameTheApplication();
    QApplication::setDesktopFileName(QLatin1String(solfira::AppId));

    QTranslator qtTranslator;
    platform::installQtTranslation(qtTranslator, gameLanguage());

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

} // namespace

int main(int argc, char *argv[])
{
    return platform::runProgram(argc, argv, commandLineOptions(), runGame);
}
