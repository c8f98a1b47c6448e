#pragma once

// Reading class logs back: the lines the game appends at the end of every game,
// in either of their two forms (see ClassLogFormat.h). The reader never trusts a file: it
// may have been edited by hand, cut short by a full disk, written by an older program
// with another date form, or be something else altogether. Every line either gives a
// game or a warning saying which line and what was wrong; nothing is ever written.

#include "ClassLogEntry.h"
#include "ClassLogWarning.h"
#include "LogDates.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QSet>
#include <QString>

#include <utility>

namespace records {

// Reads a class log as a stream of bytes cut anywhere (a file read in blocks, or
// the part appended since the last read). Lines end in LF or CR LF; a line longer
// than MaxLineLength is skipped without being kept in memory.
class ClassLogStreamParser
{
public:
    static constexpr qsizetype MaxLineLength = 4096;
    static constexpr qsizetype MaxWarnings = 1000; // further warnings are only counted

    explicit ClassLogStreamParser(DateOrder order = DateOrder::DayMonthYear,
                                  qint64 firstLineNumber = 1);

    void addData(QByteArrayView bytes);
    // Reads the last line when the data did not end with a line end.
    void finish();

    const QList<ClassLogEntry> &entries() const { return m_entries; }
    QList<ClassLogEntry> takeEntries() { return std::exchange(m_entries, {}); }
    const QList<ClassLogWarning> &warnings() const { return m_warnings; }
    QList<ClassLogWarning> takeWarnings() { return std::exchange(m_warnings, {}); }
    // All warnings, those beyond MaxWarnings included.
    qint64 warningCount() const { return m_warningCount; }
    // Bytes up to and including the last line end seen.
    qint64 completeBytes() const { return m_completeBytes; }
    // The number of the line that starts after completeBytes().
    qint64 nextLineNumber() const { return m_lineNumber; }

private:
    void takeLine(QByteArrayView line);
    void warn(qint64 line, ClassLogWarning warning);

    DateOrder m_order;
    qint64 m_lineNumber;
    qint64 m_completeBytes = 0;
    QByteArray m_pending;      // the start of a line not ended yet
    qint64 m_pendingBytes = 0; // its length, also when too long to be kept
    bool m_overlong = false;   // the pending line passed MaxLineLength
    bool m_firstLine = true;
    QList<ClassLogEntry> m_entries;
    QList<ClassLogWarning> m_warnings;
    qint64 m_warningCount = 0;
    QSet<QString> m_names; // one copy of each name and date text, shared by entries
};

} // namespace records
