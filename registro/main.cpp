// solfira-registro: the teacher's register of the games played with Solfira.

#include "RegisterSession.h"
#include "RegisterWindow.h"
#include "records/DataDirectory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Solfira"));
    QApplication::setApplicationName(QStringLiteral("solfira-registro"));
    QApplication::setApplicationDisplayName(QStringLiteral("Registro di Solfira"));
    QApplication::setApplicationVersion(QStringLiteral("1.00.0006"));
    QGuiApplication::setDesktopFileName(QStringLiteral("it.solfira.Registro"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("it.solfira.Solfira")));

    // Qt's own dialogs (files, printing) in the user's language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Il registro delle partite di Solfira: tabella, riepilogo e grafici di "
                       "ogni classe."));
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
    options.process(app);

    // The register only reads: a missing directory is reported, never created.
    const QString directory = options.isSet(dataDir)
                                  ? QDir(options.value(dataDir)).absolutePath()
                                  : records::defaultDataDirectory();

    registro::RegisterSession session;
    session.setDataDirectory(directory);
    if (options.isSet(className))
        session.selectClassNamed(options.value(className));

    registro::RegisterWindow window(&session);
    window.show();
    return app.exec();
}
