#pragma once

#include "Failure.h"

#include <QString>

#include <optional>

namespace records {

// The data directory chosen for a run, and why it could not be made when it could not.
struct DataDirectory {
    QString path; // absolute, with '/' between names and at the end
    std::optional<Failure> failure;
};

// Where the record files and class logs live when no directory is given on the
// command line: on Windows the folder the installer was given for the machine (DataDir
// under HKEY_LOCAL_MACHINE\Software\Solfira) when there is one, else the Windows directory
// when this user can make files there (tried, not asked), otherwise (and on every other
// system) the user's data folder for Solfira (~/.local/share/Solfira on Linux,
// AppData\Local\Solfira on Windows). The game and the register use the same place.
QString defaultDataDirectory();

// The data directory for a run: `overridden` (from --data-dir) when not empty,
// the default otherwise. The directory is created when missing.
DataDirectory resolveDataDirectory(const QString &overridden);

} // namespace records
