#pragma once

// Taking turns on a data folder that the PCs of a school share: one copy of the game at a
// time rewrites the record and appends to a class log, under the lock file LockFileName.

#include "Failure.h"
#include "platform/PlainFiles.h"

#include <QLockFile>
#include <QString>

#include <chrono>
#include <optional>

namespace records {

inline constexpr char LockFileName[] = ".solfira.lock";

// How long one try waits for the lock before the pupil is told the folder is busy.
inline constexpr std::chrono::milliseconds LockWait{15000};
// How long another PC's lock must be seen unchanged before it is taken for one left behind by
// a PC that crashed or lost the network. Ending a game holds the lock for a moment; a copy that
// held it this long has stopped.
inline constexpr std::chrono::milliseconds AbandonedLockAge{40000};

// What one copy of the game has seen of a lock it could not take, kept from one try to the next
// so that the waits of several Exit tries add up.
class LockWatch
{
public:
    explicit LockWatch(std::chrono::milliseconds abandonedAfter = AbandonedLockAge)
        : m_abandonedAfter(abandonedAfter)
    {
    }

private:
    friend class FolderLock;
    using Clock = std::chrono::steady_clock;

    std::chrono::milliseconds m_abandonedAfter;
    std::optional<platform::files::FileStamp> m_seen; // the lock as last seen
    Clock::time_point m_seenSince;                    // since when it has looked that way
};

// The lock of one data folder (a path ending in '/'), released when this goes.
class FolderLock
{
public:
    FolderLock(const QString &directory, LockWatch &watch);

    // Takes the lock, waiting at most `wait`. A lock of this PC whose program has ended is
    // taken at once; one of another PC once `watch` has seen it unchanged long enough. Fails
    // with FolderBusy when the lock is still held, LockFolder when no lock file can be made.
    std::optional<Failure> lock(std::chrono::milliseconds wait = LockWait);

private:
    bool takeOverAbandoned();
    Failure cannotLock() const;

    QString m_directory;
    QString m_path;
    LockWatch &m_watch;
    QLockFile m_lock;
};

} // namespace records
