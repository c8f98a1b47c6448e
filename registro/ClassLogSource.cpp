#include "ClassLogSource.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace registro {

namespace {
constexpr qint64 FingerprintLength = 64;
}

ClassLogSource::Update ClassLogSource::open(const QString &path)
{
    close();
    m_path = path;
    return read(0, 1);
}

void ClassLogSource::close()
{
    const records::DateOrder order = m_order;
    *this = ClassLogSource();
    m_order = order;
}

ClassLogSource::Update ClassLogSource::refresh()
{
    if (m_path.isEmpty()) return {};
    const QFileInfo info(m_path);
    if (!info.exists()) {
        if (m_size == -1 && m_endOffset == 0) return {}; // already known to be missing
        const QString path = m_path;
        close();
        m_path = path;
        Update gone;
        gone.kind = Update::Reloaded;
        gone.failure = records::Failure{records::Failure::Step::OpenClassLog,
                                        path,
                                        platform::files::FileError::system(ENOENT),
                                        {}};
        return gone;
    }
    if (info.size() == m_size && info.lastModified() == m_modified) return {};
    // Only growth past what was read, with the bytes before unchanged, is an append.
    if (m_size < 0 || info.size() <= m_endOffset || bytesBefore(m_completeOffset) != m_fingerprint)
        return read(0, 1);

    const qsizetype keepEntries = m_entriesBeforeTail;
    const qsizetype keepWarnings = m_warningsBeforeTail;
    const qint64 keepWarningCount = m_warningCountBeforeTail;
    Update update = read(m_completeOffset, m_nextLine);
    if (update.kind == Update::Reloaded && !update.failure) {
        update.kind = Update::Appended;
        update.keepEntries = keepEntries;
        update.keepWarnings = keepWarnings;
        update.keepWarningCount = keepWarningCount;
        m_entriesBeforeTail += keepEntries;
        m_warningsBeforeTail += keepWarnings;
        m_warningCountBeforeTail += keepWarningCount;
    }
    return update;
}

ClassLogSource::Update ClassLogSource::read(qint64 offset, qint64 firstLine)
{
    const QFileInfo info(m_path);
    Update update;
    update.kind = Update::Reloaded;
    if (offset == 0) {
        m_endOffset = m_completeOffset = 0;
        m_nextLine = 1;
        m_entriesBeforeTail = m_warningsBeforeTail = 0;
        m_warningCountBeforeTail = 0;
    }
    // Noted before reading: a write during the read is seen by the next refresh.
    m_size = info.size();
    m_modified = info.lastModified();

    records::ClassLogRead read = records::readClassLog(m_path, offset, firstLine, m_order);
    if (read.failure && read.endOffset == offset) {
        // Nothing could be read: forget the file so the next refresh tries again.
        m_size = -1;
        m_endOffset = m_completeOffset = 0;
        m_nextLine = 1;
        update.failure = read.failure;
        return update;
    }
    update.failure = read.failure;
    m_endOffset = read.endOffset;
    m_completeOffset = read.completeOffset;
    m_nextLine = read.nextLineNumber;
    m_entriesBeforeTail = read.entriesBeforeTail;
    m_warningsBeforeTail = read.warningsBeforeTail;
    m_warningCountBeforeTail = read.warningCountBeforeTail;
    m_fingerprint = bytesBefore(m_completeOffset);
    update.entries = std::move(read.entries);
    update.warnings = std::move(read.warnings);
    update.warningCount = read.warningCount;
    return update;
}

QByteArray ClassLogSource::bytesBefore(qint64 offset) const
{
    if (offset <= 0) return {};
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArrayLiteral("\0unreadable");
    const qint64 start = std::max<qint64>(0, offset - FingerprintLength);
    if (!file.seek(start)) return QByteArrayLiteral("\0unreadable");
    return file.read(offset - start);
}

} // namespace registro
