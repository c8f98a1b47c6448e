#pragma once

// Reading class logs back: the lines the game appends at the end of every game,
// in either of their two forms (see ClassLog.h). The reader never trusts a file: it
// may have been edited by hand, cut short by a full disk, written by an older program
// with another date form, or be something else altogether. Every line either gives a
// game or a warning saying which line and what was wrong; nothing is ever written.

#include "records/ClassLog.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

namespace records {

// Length of a game: the countdown starts at 15 minutes.
inline constexpr int GameSeconds = 15 * 60;

// How a date with three numbers is read when nothing else tells the order.
enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The order of the short date form of `locale` (dd/MM/yy gives DayMonthYear).
DateOrder dateOrderOf(const QLocale &locale);

// One game read from a class log.
struct ClassLogEntry {
    QString name;        // as the player typed it (may be empty, hold spaces or digits)
    QString dateText;    // the date as written in the line, trimmed
    qint64 lineNumber = 0;
    QDate date;          // invalid when the date text could not be read
    qint32 correct = 0;
    qint32 wrong = 0;
    qint32 secondsLeft = -1; // -1 when the time left could not be read
    LogForm form = LogForm::RecordStands;

    int total() const { return correct + wrong; }
    bool setRecord() const { return form == LogForm::NewRecord; }
    // 15 minutes minus the time left; -1 when unknown or not within a game's length.
    int secondsUsed() const
    {
        return secondsLeft < 0 || secondsLeft > GameSeconds ? -1 : GameSeconds - secondsLeft;
    }
    // Correct answers in percent of all answers; -1 when there were no answers.
    double accuracy() const { return total() > 0 ? 100.0 * correct / total() : -1.0; }
};

struct ClassLogWarning {
    qint64 lineNumber = 0; // 1-based; 0 for the file as a whole
    QString reason;        // Italian, for the teacher

    QString text() const; // "Riga 12: ..."
    friend bool operator==(const ClassLogWarning &, const ClassLogWarning &) = default;
};

} // namespace records

// Entries are moved in bulk when a list of 100 000 games grows.
Q_DECLARE_TYPEINFO(records::ClassLogEntry, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(records::ClassLogWarning, Q_RELOCATABLE_TYPE);

namespace records {

// The result of reading one line.
struct ParsedLine {
    std::optional<ClassLogEntry> entry; // empty when the line gives no game
    QStringList problems;               // reasons, empty for a clean line
};

// Reads one line, without its line end. Both forms of the game are read exactly,
// whatever the name holds; the fixed words must be there, the spaces around the
// numbers may vary.
ParsedLine parseClassLogLine(QByteArrayView line, DateOrder order = DateOrder::DayMonthYear);

// Reads a date as short date forms of many systems write it: 15/04/2007, 15/04/07,
// 15.04.07, 15-04-2007, 2007-04-15, 4/15/07, 15 apr 2007, 15-Apr-07, also followed by a
// time of day. `note` receives a remark when the date was read in another order than
// `order`.
QDate parseLogDate(QStringView text, DateOrder order, QString *note = nullptr);

// "00:03:12" (also with '.' between the fields) as seconds; -1 when unreadable.
int parseClockText(QStringView text);
// Seconds as "hh:mm:ss", the way the countdown shows them.
QString clockText(int seconds);

// Reads a class log as a stream of bytes cut anywhere (a file read in blocks, or
// the part appended since the last read). Lines end in LF or CR LF; a line longer
// than MaxLineLength is skipped without being kept in memory.
class ClassLogParser
{
public:
    static constexpr qsizetype MaxLineLength = 4096;
    static constexpr qsizetype MaxWarnings = 1000; // further warnings are only counted

    explicit ClassLogParser(DateOrder order = DateOrder::DayMonthYear, qint64 firstLineNumber = 1);

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
    void warn(qint64 line, const QString &reason);

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
    QSet<QString> m_names;     // one copy of each name and date text, shared by entries
};

// What reading a file, or its growth, gave.
struct ClassLogRead {
    QList<ClassLogEntry> entries;
    QList<ClassLogWarning> warnings;
    qint64 warningCount = 0;     // warnings found, including those not kept
    qint64 endOffset = 0;        // file offset after the last byte read
    qint64 completeOffset = 0;   // file offset after the last line end read
    qint64 nextLineNumber = 1;   // the line starting at completeOffset
    // Entries and warnings of complete lines; the rest come from a last line without a
    // line end, which may still be growing.
    qsizetype entriesBeforeTail = 0;
    qsizetype warningsBeforeTail = 0;
    qint64 warningCountBeforeTail = 0;
    QString error;               // empty when the file could be read
};

// Reads `path` from byte `offset` to its end, opened read-only, in blocks.
ClassLogRead readClassLog(const QString &path, qint64 offset = 0, qint64 firstLineNumber = 1,
                          DateOrder order = DateOrder::DayMonthYear);

} // namespace records
