#pragma once

// The file steps on the data directory, which every PC of a school may share and any pupil
// may fill with anything: a name there is only ever opened as a regular file. A symbolic
// link (a reparse point on Windows), a pipe, a device or a folder standing in its place is
// refused without being followed, opened for writing or waited on. No Qt here, so the
// Windows part can be built and checked on its own with a Windows compiler.
//
// Paths are UTF-8. Every step returns a FileError: none on success, else the system's error
// (Windows errors mapped onto the nearest errno value) or what stood there instead of a file.

#include "FileError.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::files {

// No error when `path` is a regular file or nothing at all; otherwise what stands there (the
// link itself is looked at, never its target), or the system's error when it cannot be looked
// at.
FileError kindOf(const std::string &path);

// Creates the file, empty, when it is missing; an existing file is left unchanged.
FileError createIfMissing(const std::string &path);

// At most `limit` bytes from the start of the file into `out` (emptied first).
FileError readHead(const std::string &path, std::size_t limit, std::string &out);

// Replaces the whole file with `bytes`: written beside it and renamed over it, so the file is
// never left empty or half-written. A link in its place is refused, never written through.
FileError replaceWhole(const std::string &path, std::string_view bytes);

// A file opened for appending whole lines.
class AppendFile
{
public:
    AppendFile() = default;
    AppendFile(const AppendFile &) = delete;
    AppendFile &operator=(const AppendFile &) = delete;
    ~AppendFile();

    // Opens the file, creating it when missing.
    FileError open(const std::string &path);
    // Writes `bytes` at the end, all or nothing: when any part of the write fails the file is
    // cut back to its size before it. When the file does not end in a line end (cut short by
    // a crash, or saved so by an editor) a CR LF goes first, so a line never runs into the last.
    FileError append(std::string_view bytes);

private:
#ifdef _WIN32
    void *m_handle = nullptr;
#else
    int m_fd = -1;
#endif
    bool m_readable = false; // the last byte can be read back
};

// What tells one file under a name from another put there later: the file system's own
// number for it, its size, the time the folder's clock gave its last change, and its first
// bytes. Two stamps of the same unchanged file are equal.
struct FileStamp {
    unsigned long long volume = 0; // the device (POSIX) or volume serial number (Windows)
    unsigned long long index = 0;  // the inode (POSIX) or file index (Windows)
    long long size = 0;
    long long modified = 0; // in the file system's own unit, never compared with a clock
    std::string head;       // up to 512 bytes

    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

// The stamp of the regular file `path`; ENOENT when there is none.
FileError stampOf(const std::string &path, FileStamp &out);

// Renames `from` to `to` when nothing stands at `to`; never replaces a file there. On Windows
// a file another program holds open without sharing its deletion is not moved (EBUSY).
FileError renameNoReplace(const std::string &from, const std::string &to);

// Removes the file `path` (a link itself, never its target).
FileError removeFile(const std::string &path);

// Why no lock file can be made in the directory `directory` (ending in a separator): tries
// to create, write and remove a small file there named `probeName`. No error when it all
// works.
FileError probeDirectory(const std::string &directory, const std::string &probeName);

// The system's own short text for an errno value (English on most systems).
std::string systemText(int error);

// A name for a temporary file beside `path`, never ending in ".txt" so that it can never be
// taken for a class log. Shared by the two systems' files.
std::string temporaryName(const std::string &path, unsigned long processId);

} // namespace platform::files
