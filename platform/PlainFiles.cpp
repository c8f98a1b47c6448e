#include "PlainFiles.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform::files {

namespace {

// A name for a temporary file beside `path`, never ending in ".txt" so that it can never be
// taken for a class log.
std::string temporaryName(const std::string &path, unsigned long processId)
{
    static std::atomic<unsigned> counter{0};
    return path + "." + std::to_string(processId) + "." + std::to_string(counter++) + ".tmp";
}

} // namespace

#ifdef _WIN32

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

int lastError()
{
    return fromWindows(GetLastError());
}

int kindOfAttributes(DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return IsLink;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return IsDirectory;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return IsSpecial;
    return 0;
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
int openRegular(const std::string &path, DWORD access, DWORD disposition, Handle &out)
{
    if (const int kind = kindOf(path)) return kind;
    const HANDLE h = CreateFileW(
        wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const int error = lastError();
        const int kind = kindOf(path);
        return kind < 0 ? kind : error;
    }
    Handle handle(h);
    if (GetFileType(h) != FILE_TYPE_DISK) return IsSpecial;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(h, &info)) return lastError();
    if (const int kind = kindOfAttributes(info.dwFileAttributes)) return kind;
    out.reset(handle.release());
    return 0;
}

int writeAll(HANDLE h, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = DWORD(bytes.size() > (1u << 30) ? (1u << 30) : bytes.size());
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr)) return lastError();
        if (written == 0) return EIO;
        bytes.remove_prefix(written);
    }
    return 0;
}

} // namespace

int kindOf(const std::string &path)
{
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0
                                                                              : fromWindows(error);
    }
    return kindOfAttributes(attributes);
}

int createIfMissing(const std::string &path)
{
    Handle h;
    return openRegular(path, FILE_APPEND_DATA, OPEN_ALWAYS, h);
}

int readHead(const std::string &path, std::size_t limit, std::string &out)
{
    out.clear();
    Handle h;
    if (const int error = openRegular(path, GENERIC_READ, OPEN_EXISTING, h)) return error;
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
    return 0;
}

int replaceWhole(const std::string &path, std::string_view bytes)
{
    if (const int kind = kindOf(path)) return kind;
    std::wstring temporary;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = wide(temporaryName(path, GetCurrentProcessId()));
        h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return lastError();
    }
    if (h == INVALID_HANDLE_VALUE) return EEXIST;
    int error = writeAll(h, bytes);
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

int AppendFile::open(const std::string &path)
{
    Handle h;
    int error = openRegular(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, h);
    m_readable = error == 0;
    if (error == EACCES) error = openRegular(path, GENERIC_WRITE, OPEN_ALWAYS, h);
    if (!error) m_handle = h.release();
    return error;
}

int AppendFile::append(std::string_view bytes)
{
    const HANDLE h = HANDLE(m_handle);
    if (!h) return EBADF;
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
    int error = SetFilePointerEx(h, zero, nullptr, FILE_END) ? writeAll(h, line) : lastError();
    if (!error && !FlushFileBuffers(h)) error = lastError();
    if (error) {
        // Back to the size it had: no part of the line stays.
        if (SetFilePointerEx(h, size, nullptr, FILE_BEGIN)) SetEndOfFile(h);
        FlushFileBuffers(h);
    }
    return error;
}

int probeDirectory(const std::string &directory, const std::string &probeName)
{
    const DWORD attributes = GetFileAttributesW(wide(directory).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return lastError();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return ENOTDIR;
    const HANDLE h =
        CreateFileW(wide(directory + probeName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    int error = writeAll(h, std::string(64, 'x'));
    if (!error && !FlushFileBuffers(h)) error = lastError();
    CloseHandle(h);
    return error;
}

#else // POSIX

namespace {

int kindOfMode(mode_t mode)
{
    if (S_ISREG(mode)) return 0;
    if (S_ISLNK(mode)) return IsLink;
    if (S_ISDIR(mode)) return IsDirectory;
    return IsSpecial;
}

class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset(int fd)
    {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

int openRetrying(const char *path, int flags)
{
    int fd;
    do
        fd = ::open(path, flags, 0666);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens `path` as a regular file. It is looked at first, so that nothing else is ever opened
// (opening a device may act on it); the open itself neither follows a link nor waits on a
// pipe, and what was opened is checked again, so a swap in between is caught too.
int openRegular(const std::string &path, int flags, Fd &out)
{
    if (const int kind = kindOf(path)) return kind;
    const int fd =
        openRetrying(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        const int kind = kindOf(path);
        return kind < 0 ? kind : error;
    }
    Fd file(fd);
    struct stat st;
    if (::fstat(fd, &st) != 0) return errno;
    if (const int kind = kindOfMode(st.st_mode)) return kind;
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0) ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    out.reset(file.release());
    return 0;
}

int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;
        bytes.remove_prefix(size_t(n));
    }
    return 0;
}

// Writes what the file holds to the disk; a file system that cannot is not an error.
int syncFile(int fd)
{
    if (::fsync(fd) == 0 || errno == EINVAL || errno == EROFS) return 0;
    return errno;
}

} // namespace

int kindOf(const std::string &path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    return kindOfMode(st.st_mode);
}

int createIfMissing(const std::string &path)
{
    Fd fd;
    return openRegular(path, O_WRONLY | O_CREAT, fd);
}

int readHead(const std::string &path, std::size_t limit, std::string &out)
{
    out.clear();
    Fd fd;
    if (const int error = openRegular(path, O_RDONLY, fd)) return error;
    out.resize(limit);
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd.get(), out.data() + got, limit - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            out.clear();
            return error;
        }
        if (n == 0) break;
        got += size_t(n);
    }
    out.resize(got);
    return 0;
}

int replaceWhole(const std::string &path, std::string_view bytes)
{
    struct stat old;
    const bool existed = ::lstat(path.c_str(), &old) == 0;
    if (!existed && errno != ENOENT) return errno;
    if (existed && !S_ISREG(old.st_mode)) return kindOfMode(old.st_mode);

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(path, (unsigned long)::getpid());
        fd = openRetrying(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && errno != EEXIST) return errno;
    }
    if (fd < 0) return EEXIST;
    // The new file keeps the old one's permissions, so every PC of the school can still
    // replace it.
    if (existed) static_cast<void>(::fchmod(fd, old.st_mode & 07777));
    int error = writeAll(fd, bytes);
    if (!error) error = syncFile(fd);
    if (::close(fd) != 0 && !error) error = errno;
    // rename() replaces whatever stands under the name, a link included, never its target.
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error) ::unlink(temporary.c_str());
    return error;
}

AppendFile::~AppendFile()
{
    if (m_fd >= 0) ::close(m_fd);
}

int AppendFile::open(const std::string &path)
{
    Fd fd;
    int error = openRegular(path, O_RDWR | O_APPEND | O_CREAT, fd);
    m_readable = error == 0;
    if (error == EACCES) error = openRegular(path, O_WRONLY | O_APPEND | O_CREAT, fd);
    if (!error) m_fd = fd.release();
    return error;
}

int AppendFile::append(std::string_view bytes)
{
    if (m_fd < 0) return EBADF;
    struct stat st;
    if (::fstat(m_fd, &st) != 0) return errno;
    std::string line;
    char last = '\n';
    if (st.st_size > 0 && m_readable && ::pread(m_fd, &last, 1, st.st_size - 1) == 1 &&
        last != '\n')
        line = "\r\n";
    line.append(bytes);
    int error = writeAll(m_fd, line);
    if (!error) error = syncFile(m_fd);
    if (error) {
        // Back to the size it had: no part of the line stays.
        while (::ftruncate(m_fd, st.st_size) != 0 && errno == EINTR) {
        }
        static_cast<void>(syncFile(m_fd));
    }
    return error;
}

int probeDirectory(const std::string &directory, const std::string &probeName)
{
    struct stat st;
    if (::stat(directory.c_str(), &st) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) return ENOTDIR;
    const std::string path = directory + probeName;
    const int fd = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = writeAll(fd, std::string(64, 'x'));
    if (!error) error = syncFile(fd);
    ::close(fd);
    ::unlink(path.c_str());
    return error;
}

#endif

std::string systemText(int error)
{
    return std::strerror(error);
}

} // namespace platform::files
