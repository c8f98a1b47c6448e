#include "ClassLogLineParser.h"

#include "ClassLogLineText.h"
#include "LogDates.h"

#include <utility>

namespace records {

using namespace logformat;

namespace {

using Kind = ClassLogWarning::Kind;

// Reads a line from its end: the fixed words, numbers and the time are taken off the
// back, so whatever is left after "Nome:" is the name, however odd it is.
class BackCursor
{
public:
    explicit BackCursor(QStringView text) : m_text(text) {}

    QStringView rest() const { return m_text; }
    void skipSpaces()
    {
        while (!m_text.isEmpty() && m_text.back() == u' ')
            m_text.chop(1);
    }
    bool takeWord(QStringView word)
    {
        if (!m_text.endsWith(word)) return false;
        m_text.chop(word.size());
        return true;
    }
    template <typename Pred> QStringView takeWhile(Pred pred)
    {
        qsizetype n = 0;
        while (n < m_text.size() && pred(m_text[m_text.size() - 1 - n]))
            ++n;
        const QStringView taken = m_text.last(n);
        m_text.chop(n);
        return taken;
    }
    // What stands just before the cursor, as much as a warning quotes.
    QString before() const
    {
        return m_text.last(std::min<qsizetype>(m_text.size(), 12)).toString();
    }

private:
    QStringView m_text;
};

// A count as "###0" writes it: digits only.
std::optional<qint32> readCount(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 9) return std::nullopt;
    qint32 value = 0;
    for (QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

// Where a line without "Data:" stops short: before the first fixed word that is missing.
LineField missingWord(QStringView line)
{
    constexpr std::pair<QStringView, LineField> Words[] = {
        {CorrectWord, LineField::CorrectTitle},
        {WrongWord, LineField::WrongTitle},
        {TimeWord, LineField::TimeTitle},
    };
    qsizetype from = NameWord.size();
    for (const auto &[word, field] : Words) {
        const qsizetype at = line.indexOf(word, from);
        if (at < 0) return field;
        from = at + word.size();
    }
    return LineField::DateWord;
}

} // namespace

ParsedLine parseClassLogLine(QByteArrayView raw, DateOrder order)
{
    ParsedLine out;
    const auto warn = [&out](ClassLogWarning warning) { out.warnings.append(std::move(warning)); };
    while (!raw.isEmpty() && (raw.back() == '\r' || raw.back() == '\n'))
        raw.chop(1);
    const QString text = decodeLogLine(raw, &out.warnings);
    QStringView line = QStringView(text).trimmed();
    // A byte order mark where two files were joined together.
    if (line.startsWith(QChar::ByteOrderMark)) line = line.sliced(1).trimmed();
    if (line.isEmpty()) {
        warn({.kind = Kind::EmptyLine});
        return out;
    }
    if (!line.startsWith(NameWord)) {
        warn({.kind = Kind::NotAGame});
        return out;
    }

    const qsizetype datePos = line.lastIndexOf(DateWord);
    if (datePos < 0) {
        warn({.kind = Kind::CutShort, .field = missingWord(line)});
        return out;
    }
    ClassLogEntry entry;
    const bool newRecord =
        datePos >= NewRecordMark.size() &&
        line.sliced(datePos - NewRecordMark.size(), NewRecordMark.size()) == NewRecordMark;
    entry.form = newRecord ? LogForm::NewRecord : LogForm::RecordStands;

    BackCursor cursor(line.first(newRecord ? datePos - NewRecordMark.size() : datePos));
    auto unrecognised = [&](LineField expected) {
        warn({.kind = Kind::Unrecognised, .field = expected, .piece = cursor.before()});
        return out;
    };

    cursor.skipSpaces();
    const QStringView clock =
        cursor.takeWhile([](QChar c) { return isAsciiDigit(c) || c == u':' || c == u'.'; });
    cursor.skipSpaces();
    if (!cursor.takeWord(TimeWord)) return unrecognised(LineField::TimeTitle);
    cursor.skipSpaces();
    const std::optional<qint32> wrong = readCount(cursor.takeWhile(isAsciiDigit));
    cursor.skipSpaces();
    if (!wrong) return unrecognised(LineField::WrongCount);
    if (!cursor.takeWord(WrongWord)) return unrecognised(LineField::WrongTitle);
    cursor.skipSpaces();
    const std::optional<qint32> correct = readCount(cursor.takeWhile(isAsciiDigit));
    cursor.skipSpaces();
    if (!correct) return unrecognised(LineField::CorrectCount);
    if (!cursor.takeWord(CorrectWord)) return unrecognised(LineField::CorrectTitle);

    // What is left is "Nome:", its spaces, the name and the spaces of the line's form.
    QStringView name = cursor.rest().sliced(NameWord.size());
    for (qsizetype k = AfterNameWord.size(); k > 0 && name.startsWith(u' '); --k)
        name = name.sliced(1);
    for (qsizetype k = lineForm(entry.form).afterName.size(); k > 0 && name.endsWith(u' '); --k)
        name.chop(1);
    if (name.contains(CorrectWord) && name.contains(DateWord)) {
        warn({.kind = Kind::TwoGames});
        return out;
    }

    entry.name = name.toString();
    entry.correct = *correct;
    entry.wrong = *wrong;

    if (clock.isEmpty()) {
        warn({.kind = Kind::NoTimeLeft});
    } else {
        entry.secondsLeft = parseClockText(clock);
        if (entry.secondsLeft < 0)
            warn({.kind = Kind::TimeUnreadable, .piece = clock.toString()});
        else if (entry.secondsLeft > GameSeconds)
            warn({.kind = Kind::TimeBeyondGame, .piece = clock.toString()});
    }

    const QStringView dateText = line.sliced(datePos + DateWord.size()).trimmed();
    entry.dateText = dateText.toString();
    if (dateText.isEmpty()) {
        warn({.kind = Kind::NoDate});
    } else {
        entry.date = parseLogDate(dateText, order, &out.warnings);
        if (!entry.date.isValid()) warn({.kind = Kind::DateUnknown, .piece = dateText.toString()});
    }
    out.entry = std::move(entry);
    return out;
}

} // namespace records
