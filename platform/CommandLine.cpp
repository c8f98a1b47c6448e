#include "CommandLine.h"

#include "QtTranslations.h"
#include "WindowSystemOptions.h"
#include "solfira/Version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTranslator>

#include <cstdio>

namespace platform {

namespace {

CommandLine endingWith(int status)
{
    CommandLine commandLine;
    commandLine.exitStatus = status;
    return commandLine;
}

} // namespace

CommandLine readCommandLine(int argc, char *argv[], const CommandLineOptions &options)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(options.versionName);
    QCoreApplication::setApplicationVersion(QLatin1String(solfira::VersionText));
    QTranslator qtTexts;
    installQtTranslation(qtTexts, options.messageLanguage);

    QCommandLineParser parser;
    parser.setApplicationDescription(options.description);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")}, options.helpText);
    if (options.helpText.isEmpty())
        parser.addHelpOption();
    else
        parser.addOption(help);
    parser.addVersionOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), options.dataDirectoryHelp,
                                     QStringLiteral("DIR"));
    parser.addOption(dataDir);
    const QCommandLineOption className(QStringLiteral("classe"), options.classHelp,
                                       QStringLiteral("NOME"));
    if (!options.classHelp.isEmpty()) parser.addOption(className);
    acceptWindowSystemOptions(parser);

    const QByteArray program = options.program.toLocal8Bit();
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "%s: %s\nProva '%s --help'.\n", program.constData(),
                     qPrintable(parser.errorText()), program.constData());
        return endingWith(2);
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "%s: argomento inatteso '%s'\nProva '%s --help'.\n",
                     program.constData(), qPrintable(parser.positionalArguments().constFirst()),
                     program.constData());
        return endingWith(2);
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n", qPrintable(options.versionName), solfira::VersionText);
        std::fflush(stdout);
        return endingWith(0);
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0); // prints the help and ends the process with status 0
    CommandLine commandLine;
    commandLine.dataDirectoryGiven = parser.isSet(dataDir);
    commandLine.dataDirectory = parser.value(dataDir);
    commandLine.classGiven = !options.classHelp.isEmpty() && parser.isSet(className);
    if (commandLine.classGiven) commandLine.className = parser.value(className);
    return commandLine;
}

} // namespace platform
