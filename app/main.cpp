#include "platform/QtServices.h"
#include "window/Tavola.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Solfira"));
    QApplication::setApplicationVersion(QStringLiteral(SOLFIRA_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral(SOLFIRA_APP_ID));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Solfira: scrivi i numeri decimali come frazioni ridotte ai minimi termini."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("Cartella dei record e dei registri di classe (ad esempio una cartella "
                       "condivisa della scuola)."),
        QStringLiteral("DIR"));
    parser.addOption(dataDir);
    if (!parser.parse(QApplication::arguments())) {
        std::fprintf(stderr, "solfira: %s\nProva 'solfira --help'.\n",
                     qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("Solfira %s\n", SOLFIRA_VERSION_TEXT);
        return 0;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "solfira: argomento inatteso '%s'\nProva 'solfira --help'.\n",
                     qPrintable(parser.positionalArguments().constFirst()));
        return 2;
    }

    // Qt's own dialog buttons in Italian ("Sì", "No", "Annulla").
    QTranslator qtTranslator;
    // Every text of the game is Italian, so its dialogs are too.
    if (qtTranslator.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/solfira-32.png")));
    // The window is hidden while a new competition asks the name: that is not the end.
    QApplication::setQuitOnLastWindowClosed(false);

    platform::QtServices services;
    Tavola window(services, parser.value(dataDir));
    services.setDialogParent(&window);
    window.start();
    return QApplication::exec();
}
