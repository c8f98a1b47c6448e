#include "PlainFiles.h"

#include <cerrno>

#include <windows.h>

// The file steps on Windows: wide-character calls on UTF-8 paths, reparse points never
// followed, the system's errors mapped onto errno values.
namespace platform::files {

namespace {

std::wstring wide(const std::string &text)
{
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n);
    return out;
}

int fromWindows(DWORD error)
{
    switch (error) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return EINVAL;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_CANT_RESOLVE_FILENAME:
        return ELOOP;
    default:
        return EIO;
    }
}

FileError lastError()
{
    return FileError::system(fromWindows(GetLastError()));
}

FileError kindOfAttributes(DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return {FileError::Link};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {FileError::Directory};
    if (attributes & FILE_ATTRIBUTE_DEVICE) return {FileError::Special};
    return {};
}

class Handle
{
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    ~Handle() { reset(); }
    HANDLE get() const { return m_h; }
    HANDLE release()
    {
        HANDLE h = m_h;
        m_h = INVALID_HANDLE_VALUE;
        return h;
    }
    void reset(HANDLE h = INVALID_HANDLE_VALUE)
    {
        if (m_h != INVALID_HANDLE_VALUE) CloseHandle(m_h);
        m_h = h;
    }

private:
    HANDLE m_h;
};

// Opens `path` without following a reparse point and checks that a regular disk file was
// opened.
FileError openRegular(const std::string &path, DWORD access, DWORD disposition, Handle &out)
{
    if (const FileError kind = kindOf(path)) return kind;
    const HANDLE h = CreateFileW(
        wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const FileError error = lastError();
        const FileError kind = kindOf(path);
        return kind.notRegular() ? kind : error;
    }
    Handle handle(h);
    if (GetFileType(h) != FILE_TYPE_DISK) return {FileError::Special};
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info)) return lastError();
    if (const FileError kind = kindOfAttributes(info.dwFileAttributes)) return kind;
    out.reset(handle.release());
    return {};
}

FileError writeAll(HANDLE h, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = DWORD(bytes.size() > (1u << 30) ? (1u << 30) : bytes.size());
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr)) return lastError();
        if (written == 0) return FileError::system(EIO);
        bytes.remove_prefix(written);
    }
    return {};
}

} // namespace

FileError kindOf(const std::string &path)
{
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                   ? FileError()
                   : FileError::system(fromWindows(error));
    }
    return kindOfAttributes(attributes);
}

FileError createIfMissing(const std::string &path)
{
    Handle h;
    return openRegular(path, FILE_APPEND_DATA, OPEN_ALWAYS, h);
}

FileError readHead(const std::string &path, std::size_t limit, std::string &out)
{
    out.clear();
    Handle h;
    if (const FileError error = openRegular(path, GENERIC_READ, OPEN_EXISTING, h)) return error;
    out.resize(limit);
    std::size_t got = 0;
    while (got < limit) {
        DWORD n = 0;
        if (!ReadFile(h.get(), out.data() + got, DWORD(limit - got), &n, nullptr)) {
            out.clear();
            return lastError();
        }
        if (n == 0) break;
        got += n;
    }
    out.resize(got);
    return {};
}

FileError replaceWhole(const std::string &path, std::string_view bytes)
{
    if (const FileError kind = kindOf(path)) return kind;
    std::wstring temporary;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = wide(temporaryName(path, GetCurrentProcessId()));
        h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return lastError();
    }
    if (h == INVALID_HANDLE_VALUE) return FileError::system(EEXIST);
    FileError error = writeAll(h, bytes);
    if (!error && !FlushFileBuffers(h)) error = lastError();
    CloseHandle(h);
    if (!error && !MoveFileExW(temporary.c_str(), wide(path).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = lastError();
    if (error) DeleteFileW(temporary.c_str());
    return error;
}

AppendFile::~AppendFile()
{
    if (m_handle) CloseHandle(HANDLE(m_handle));
}

FileError AppendFile::open(const std::string &path)
{
    Handle h;
    FileError error = openRegular(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, h);
    m_readable = !error;
    if (error == FileError::system(EACCES))
        error = openRegular(path, GENERIC_WRITE, OPEN_ALWAYS, h);
    if (!error) m_handle = h.release();
    return error;
}

FileError AppendFile::append(std::string_view bytes)
{
    const HANDLE h = HANDLE(m_handle);
    if (!h) return FileError::system(EBADF);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size)) return lastError();
    std::string line;
    if (size.QuadPart > 0 && m_readable) {
        LARGE_INTEGER last;
        last.QuadPart = size.QuadPart - 1;
        char c = '\n';
        DWORD n = 0;
        if (SetFilePointerEx(h, last, nullptr, FILE_BEGIN) && ReadFile(h, &c, 1, &n, nullptr) &&
            n == 1 && c != '\n')
            line = "\r\n";
    }
    line.append(bytes);
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    FileError error =
        SetFilePointerEx(h, zero, nullptr, FILE_END) ? writeAll(h, line) : lastError();
    if (!error && !FlushFileBuffers(h)) error = lastError();
    if (error) {
        // Back to the size it had: no part of the line stays.
        if (SetFilePointerEx(h, size, nullptr, FILE_BEGIN)) SetEndOfFile(h);
        FlushFileBuffers(h);
    }
    return error;
}

FileError stampOf(const std::string &path, FileStamp &out)
{
    out = FileStamp();
    Handle h;
    if (const FileError error = openRegular(path, GENERIC_READ, OPEN_EXISTING, h)) return error;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h.get(), &info)) return lastError();
    out.volume = info.dwVolumeSerialNumber;
    out.index = (unsigned long long)info.nFileIndexHigh << 32 | info.nFileIndexLow;
    out.size = (long long)info.nFileSizeHigh << 32 | info.nFileSizeLow;
    out.modified =
        (long long)info.ftLastWriteTime.dwHighDateTime << 32 | info.ftLastWriteTime.dwLowDateTime;
    char head[512];
    DWORD got = 0;
    if (!ReadFile(h.get(), head, sizeof head, &got, nullptr)) return lastError();
    out.head.assign(head, got);
    return {};
}

FileError renameNoReplace(const std::string &from, const std::string &to)
{
    return MoveFileExW(wide(from).c_str(), wide(to).c_str(), 0) ? FileError() : lastError();
}

FileError removeFile(const std::string &path)
{
    return DeleteFileW(wide(path).c_str()) ? FileError() : lastError();
}

FileError probeDirectory(const std::string &directory, const std::string &probeName)
{
    const DWORD attributes = GetFileAttributesW(wide(directory).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return lastError();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return FileError::system(ENOTDIR);
    const HANDLE h =
        CreateFileW(wide(directory + probeName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    FileError error = writeAll(h, std::string(64, 'x'));
    if (!error && !FlushFileBuffers(h)) error = lastError();
    CloseHandle(h);
    return error;
}

} // namespace platform::files
