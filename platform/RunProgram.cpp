#include "RunProgram.h"

#include <QApplication>

namespace platform {

int runProgram(int &argc, char *argv[], const CommandLineOptions &options,
               const std::function<int(const CommandLine &)> &run)
{
    const CommandLine commandLine = readCommandLine(argc, argv, options);
    if (commandLine.exitStatus >= 0) return commandLine.exitStatus;

    QApplication app(argc, argv);
    return run(commandLine);
}

} // namespace platform
