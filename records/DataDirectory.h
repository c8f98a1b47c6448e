#pragma once

#include "Failure.h"

#include <QString>

#include <optional>

namespace records {

// Where a school points all its PCs at one shared folder, outside any program's options: on
// Windows a policy (HKEY_LOCAL_MACHINE\Software\Policies\Solfira, value DataDir, set by Group
// Policy or Intune), elsewhere the system-wide file /etc/solfira.conf.
struct SchoolSetting {
    QString directory; // the folder, as the setting names it
    QString source;    // where the setting was read, as a person would look it up
};

// The system-wide file's path on systems other than Windows.
inline constexpr char SchoolSettingFile[] = "/etc/solfira.conf";

// The setting of this machine, when the school has set one (an empty value sets nothing).
std::optional<SchoolSetting> schoolSetting();

// `DataDir=FOLDER` read from a settings file: lines of `name=value`, with spaces around either
// and the value optionally in double quotes; lines starting with '#' or ';' and [sections] are
// left out. Nothing when the file is missing, unreadable or names no folder.
std::optional<QString> readSettingsFileDataDir(const QString &file);

// The data directory chosen for a run, and why it could not be made when it could not.
struct DataDirectory {
    QString path; // absolute, with '/' between names and at the end
    std::optional<Failure> failure;
    std::optional<SchoolSetting> school; // the school's setting, when that named the directory
};

// Where the record files and class logs live when no directory is given on the command line:
// the school's setting when there is one; else on Windows the folder the installer was given
// for the machine (DataDir under HKEY_LOCAL_MACHINE\Software\Solfira) when there is one, else
// the Windows directory when this user can make files there (tried, not asked); otherwise (and
// on every other system) the user's data folder for Solfira (~/.local/share/Solfira on Linux,
// AppData\Local\Solfira on Windows). The game and the register use the same place.
QString defaultDataDirectory();

// The data directory for a run: `overridden` (from --data-dir) when not empty, the school's
// setting next, the default otherwise. A folder of our own is created when missing; the
// school's folder never is (a share that is not there must not become an empty local folder),
// and one that cannot be reached is reported with the setting that named it.
DataDirectory resolveDataDirectory(const QString &overridden);

} // namespace records
