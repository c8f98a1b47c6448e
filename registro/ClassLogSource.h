#pragma once

#include "records/ClassLogFileReader.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace registro {

// A class log followed while it grows. The game only ever appends whole lines, so a
// refresh reads just the bytes added since the last read; anything else (the file cut
// short, rewritten, replaced) reads it again from the start. The file is only read.
class ClassLogSource
{
public:
    struct Update {
        enum Kind { Unchanged, Reloaded, Appended };
        Kind kind = Unchanged;
        // For Appended: how many of the entries and warnings held so far stay; the
        // others came from a last line without line end, read again now.
        qsizetype keepEntries = 0;
        qsizetype keepWarnings = 0;
        qint64 keepWarningCount = 0;
        QList<records::ClassLogEntry> entries;    // new entries, after those kept
        QList<records::ClassLogWarning> warnings; // new warnings, after those kept
        qint64 warningCount = 0;                  // new warnings, those not kept included
        std::optional<records::Failure> failure;  // why the file could not be read
    };

    void setDateOrder(records::DateOrder order) { m_order = order; }

    Update open(const QString &path);
    Update refresh();
    void close();
    QString path() const { return m_path; }

private:
    Update read(qint64 offset, qint64 firstLine);
    QByteArray bytesBefore(qint64 offset) const;

    records::DateOrder m_order = records::DateOrder::DayMonthYear;
    QString m_path;
    qint64 m_size = -1; // file size at the last read, -1 before any
    QDateTime m_modified;
    qint64 m_endOffset = 0;      // bytes read so far
    qint64 m_completeOffset = 0; // bytes up to the last line end
    qint64 m_nextLine = 1;
    QByteArray m_fingerprint; // the last bytes before m_completeOffset
    qsizetype m_entriesBeforeTail = 0;
    qsizetype m_warningsBeforeTail = 0;
    qint64 m_warningCountBeforeTail = 0;
};

} // namespace registro
