#include "FolderLock.h"

#include "TextFiles.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>

namespace records {

namespace files = platform::files;

// Why not Qt's own judgement of a stale lock: QLockFile takes another host's lock for stale
// when its modification time, set by the folder's clock (the file server's), is far from this
// PC's clock. School PCs drift minutes apart, so a PC ahead or behind would take over a lock
// that a live PC wrote a second ago. Here no clock of any PC is compared with a file's time:
// another PC's lock is abandoned only once this PC has seen it stay the same file, with the
// same size, time and contents, for AbandonedLockAge by its own monotonic clock. A lock of this
// PC whose program is gone is still taken by QLockFile at once (it asks the system).

FolderLock::FolderLock(const QString &directory, LockWatch &watch)
    : m_directory(directory), m_path(directory + QLatin1String(LockFileName)), m_watch(watch),
      m_lock(m_path)
{
    // Never judged by its age against this PC's clock.
    m_lock.setStaleLockTime(0);
}

std::optional<Failure> FolderLock::lock(std::chrono::milliseconds wait)
{
    // Something other than a lock file under its name would never go away by itself.
    if (const files::FileError kind = files::kindOf(nativeFilePath(m_path)); kind.notRegular())
        return Failure{Failure::Step::LockFolder, m_directory, kind, {}};
    const QDeadlineTimer deadline(wait);
    std::chrono::milliseconds pause{100};
    for (;;) {
        if (m_lock.tryLock(0)) return std::nullopt;
        if (m_lock.error() != QLockFile::LockFailedError) return cannotLock();
        if (takeOverAbandoned()) continue;
        const auto left = deadline.remainingTimeAsDuration();
        if (left <= left.zero()) return Failure{Failure::Step::FolderBusy, m_directory, {}, {}};
        QThread::msleep(
            ulong(std::min(pause, std::chrono::ceil<std::chrono::milliseconds>(left)).count()));
        pause = std::min(pause * 2, std::chrono::milliseconds(1000));
    }
}

bool FolderLock::takeOverAbandoned()
{
    const std::string path = nativeFilePath(m_path);
    files::FileStamp now;
    if (files::stampOf(path, now)) {
        // Gone (or unreadable for a moment): the next try finds out.
        m_watch.m_seen.reset();
        return false;
    }
    const auto clockNow = LockWatch::Clock::now();
    if (m_watch.m_seen != now) {
        m_watch.m_seen = now;
        m_watch.m_seenSince = clockNow;
        return false;
    }
    if (clockNow - m_watch.m_seenSince < m_watch.m_abandonedAfter) return false;

    // Abandoned. It is moved aside under a name of this copy's own, so that of several PCs
    // judging it at once only one gets it; then it must prove to be the file that was watched.
    const std::string aside = path + "." + std::to_string(QCoreApplication::applicationPid()) +
                              "." + std::to_string(QRandomGenerator::global()->generate()) +
                              ".abbandonato";
    if (files::renameNoReplace(path, aside)) return false;
    files::FileStamp moved;
    const bool same = !files::stampOf(aside, moved) && moved == now;
    if (same) {
        files::removeFile(aside);
        m_watch.m_seen.reset();
        return true;
    }
    // Another PC's new lock, made between the look and the move: it goes back, unless yet
    // another lock stands there now.
    if (files::renameNoReplace(aside, path)) files::removeFile(aside);
    return false;
}

Failure FolderLock::cannotLock() const
{
    // No lock file can be made there at all: find out why, with a file of our own.
    const std::string probe = std::string(LockFileName) + "." +
                              std::to_string(QCoreApplication::applicationPid()) + ".prova";
    return Failure{Failure::Step::LockFolder,
                   m_directory,
                   files::probeDirectory(nativeFilePath(m_directory), probe),
                   {}};
}

} // namespace records
