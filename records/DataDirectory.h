#pragma once

#include <QString>

namespace records {

// Where the record files and class logs live when no directory is given on the
// command line: on Windows the folder the installer was given for the machine (DataDir
// under HKEY_LOCAL_MACHINE\Software\Solfira) when there is one, else the Windows directory
// when this user can make files there (tried, not asked), otherwise (and on every other
// system) the user's data folder for Solfira (~/.local/share/Solfira on Linux,
// AppData\Local\Solfira on Windows). The game and the register use the same place.
QString defaultDataDirectory();

// The data directory for a run: `overridden` (from --data-dir) when not empty,
// the default otherwise. The returned path is absolute, uses '/' and ends in '/'.
// The directory is created when missing; an error text is returned through
// `error` (empty on success) when it cannot be.
QString resolveDataDirectory(const QString &overridden, QString *error = nullptr);

} // namespace records
