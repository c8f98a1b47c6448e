#include "PlainFiles.h"

#include <cerrno>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The file steps on POSIX systems: links never followed, pipes never waited on.
namespace platform::files {

namespace {

FileError kindOfMode(mode_t mode)
{
    if (S_ISREG(mode)) return {};
    if (S_ISLNK(mode)) return {FileError::Link};
    if (S_ISDIR(mode)) return {FileError::Directory};
    return {FileError::Special};
}

FileError lastError()
{
    return FileError::system(errno);
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
FileError openRegular(const std::string &path, int flags, Fd &out)
{
    if (const FileError kind = kindOf(path)) return kind;
    const int fd =
        openRetrying(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const FileError error = lastError();
        const FileError kind = kindOf(path);
        return kind.notRegular() ? kind : error;
    }
    Fd file(fd);
    struct stat st;
    if (::fstat(fd, &st) != 0) return lastError();
    if (const FileError kind = kindOfMode(st.st_mode)) return kind;
    const int status = ::fcntl(fd, F_GETFL);
    if (status >= 0) ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    out.reset(file.release());
    return {};
}

FileError writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return lastError();
        }
        if (n == 0) return FileError::system(EIO);
        bytes.remove_prefix(size_t(n));
    }
    return {};
}

// Writes what the file holds to the disk; a file system that cannot is not an error.
FileError syncFile(int fd)
{
    if (::fsync(fd) == 0 || errno == EINVAL || errno == EROFS) return {};
    return lastError();
}

} // namespace

FileError kindOf(const std::string &path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? FileError() : lastError();
    return kindOfMode(st.st_mode);
}

FileError createIfMissing(const std::string &path)
{
    Fd fd;
    return openRegular(path, O_WRONLY | O_CREAT, fd);
}

FileError readHead(const std::string &path, std::size_t limit, std::string &out)
{
    out.clear();
    Fd fd;
    if (const FileError error = openRegular(path, O_RDONLY, fd)) return error;
    out.resize(limit);
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd.get(), out.data() + got, limit - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            const FileError error = lastError();
            out.clear();
            return error;
        }
        if (n == 0) break;
        got += size_t(n);
    }
    out.resize(got);
    return {};
}

FileError replaceWhole(const std::string &path, std::string_view bytes)
{
    struct stat old;
    const bool existed = ::lstat(path.c_str(), &old) == 0;
    if (!existed && errno != ENOENT) return lastError();
    if (existed && !S_ISREG(old.st_mode)) return kindOfMode(old.st_mode);

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(path, (unsigned long)::getpid());
        fd = openRetrying(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0 && errno != EEXIST) return lastError();
    }
    if (fd < 0) return FileError::system(EEXIST);
    // The new file keeps the old one's permissions, so every PC of the school can still
    // replace it.
    if (existed) static_cast<void>(::fchmod(fd, old.st_mode & 07777));
    FileError error = writeAll(fd, bytes);
    if (!error) error = syncFile(fd);
    if (::close(fd) != 0 && !error) error = lastError();
    // rename() replaces whatever stands under the name, a link included, never its target.
    if (!error && ::rename(temporary.c_str(), path.c_str()) != 0) error = lastError();
    if (error) ::unlink(temporary.c_str());
    return error;
}

AppendFile::~AppendFile()
{
    if (m_fd >= 0) ::close(m_fd);
}

FileError AppendFile::open(const std::string &path)
{
    Fd fd;
    FileError error = openRegular(path, O_RDWR | O_APPEND | O_CREAT, fd);
    m_readable = !error;
    if (error == FileError::system(EACCES))
        error = openRegular(path, O_WRONLY | O_APPEND | O_CREAT, fd);
    if (!error) m_fd = fd.release();
    return error;
}

FileError AppendFile::append(std::string_view bytes)
{
    if (m_fd < 0) return FileError::system(EBADF);
    struct stat st;
    if (::fstat(m_fd, &st) != 0) return lastError();
    std::string line;
    char last = '\n';
    if (st.st_size > 0 && m_readable && ::pread(m_fd, &last, 1, st.st_size - 1) == 1 &&
        last != '\n')
        line = "\r\n";
    line.append(bytes);
    FileError error = writeAll(m_fd, line);
    if (!error) error = syncFile(m_fd);
    if (error) {
        // Back to the size it had: no part of the line stays.
        while (::ftruncate(m_fd, st.st_size) != 0 && errno == EINTR) {
        }
        static_cast<void>(syncFile(m_fd));
    }
    return error;
}

FileError stampOf(const std::string &path, FileStamp &out)
{
    out = FileStamp();
    Fd fd;
    if (const FileError error = openRegular(path, O_RDONLY, fd)) return error;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) return lastError();
    out.volume = st.st_dev;
    out.index = st.st_ino;
    out.size = st.st_size;
    out.modified = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    char head[512];
    ssize_t n;
    do
        n = ::pread(fd.get(), head, sizeof head, 0);
    while (n < 0 && errno == EINTR);
    if (n < 0) return lastError();
    out.head.assign(head, size_t(n));
    return {};
}

FileError renameNoReplace(const std::string &from, const std::string &to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return lastError();
    // A file system without that rename: a second name made only where none stands, then the
    // first removed.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return {};
    }
    if (errno == EEXIST || errno == ENOENT) return lastError();
    // Nor links (a share without Unix extensions): the name `to` is our own unique one.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) return FileError::system(EEXIST);
    return ::rename(from.c_str(), to.c_str()) == 0 ? FileError() : lastError();
}

FileError removeFile(const std::string &path)
{
    return ::unlink(path.c_str()) == 0 ? FileError() : lastError();
}

FileError probeDirectory(const std::string &directory, const std::string &probeName)
{
    struct stat st;
    if (::stat(directory.c_str(), &st) != 0) return lastError();
    if (!S_ISDIR(st.st_mode)) return FileError::system(ENOTDIR);
    const std::string path = directory + probeName;
    const int fd = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return lastError();
    FileError error = writeAll(fd, std::string(64, 'x'));
    if (!error) error = syncFile(fd);
    ::close(fd);
    ::unlink(path.c_str());
    return error;
}

} // namespace platform::files
