#pragma once

// Why a step on the data folder, a record file or a class log did not go through, as a value:
// which step, on which file or folder, and what the system said. The words a user reads for
// it are made in one place, texts/FailureText.h.

#include "platform/FileError.h"

#include <QString>

namespace records {

struct Failure {
    enum class Step {
        CreateFile,   // a missing record file could not be created
        ReadFile,     // a record file could not be read
        WriteFile,    // a record file could not be replaced, or a class log appended to
        RefuseLine,   // a line holding control characters was refused, never written
        LockFolder,   // no lock file could be made in the data folder
        FolderBusy,   // another copy of the game holds the data folder's lock
        CreateFolder, // the data folder could not be made
        ReachFolder,  // the data folder the school's setting names is not there
        OpenClassLog, // a class log could not be opened for reading
        SeekClassLog, // a class log could not be read from where the last read stopped
        ReadClassLog, // reading a class log failed on the way
    };
    Step step = Step::WriteFile;
    QString path;                     // the file, or the folder for the folder steps
    platform::files::FileError error; // the system's error, when it gave one
    QString systemText;               // Qt's own words for the error, for the steps Qt made

    friend bool operator==(const Failure &, const Failure &) = default;
};

} // namespace records
