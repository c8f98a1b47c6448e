#pragma once

#include <QLocale>
#include <QString>

namespace platform {

// What a program's command line may hold, and how it answers --help and --version.
struct CommandLineOptions {
    QString program;         // the name in messages: "solfira"
    QString versionName;     // the application's name, which --version prints: "Solfira"
    QString description;     // the first line of --help
    QLocale messageLanguage; // Qt's own messages ("Opzione sconosciuta") in this language
    QString helpText;        // the help option's own text, with -h, --help and -?; empty: Qt's
    QString dataDirectoryHelp;
    QString classHelp; // empty: no --classe option
};

struct CommandLine {
    int exitStatus = -1; // 0 or more: end at once with this status
    bool dataDirectoryGiven = false;
    QString dataDirectory;
    bool classGiven = false;
    QString className;
};

// Reads the command line before any window system is opened, so that --help, --version and a
// mistaken command line are answered on a machine with no display too. A mistake is reported
// on standard error with status 2; nothing is written anywhere else. Qt's window-system options
// (-platform, -style ...) are accepted and left to QApplication.
CommandLine readCommandLine(int argc, char *argv[], const CommandLineOptions &options);

} // namespace platform
