#pragma once

#include "CommandLine.h"

#include <functional>

namespace platform {

// Runs a windowed program: reads its command line first (readCommandLine), so that --help,
// --version and a mistake end it at once, then makes the QApplication and hands `run` what the
// command line asked for. Returns the program's exit status.
int runProgram(int &argc, char *argv[], const CommandLineOptions &options,
               const std::function<int(const CommandLine &)> &run);

} // namespace platform
