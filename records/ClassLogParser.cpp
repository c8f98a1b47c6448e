#include "ClassLogParser.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>
#include <cstring>

namespace records {

namespace {

constexpr QStringView NameWord = u"Nome:";
constexpr QStringView CorrectWord = u"Risposte esatte";
constexpr QStringView WrongWord = u"Risposte errate";
constexpr QStringView TimeWord = u"Tempo restante";
constexpr QStringView DateWord = u"Data:";
constexpr QStringView NewRecordMark = u"-\"";

QString quoted(QStringView text)
{
    return QStringLiteral("«%1»").arg(text);
}

// A byte the game can write: printable ASCII or a printable Latin-1 letter. Control
// bytes and the 0x80-0x9F block never come from a name typed in the game.
bool isPlainByte(uchar b)
{
    return (b >= 0x20 && b < 0x7F) || b >= 0xA0;
}

bool isPlainChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x20 && u < 0x7F) || u >= 0xA0;
}

// The text of a line. Lines are single-byte Latin-1; a line that is valid UTF-8 with
// letters beyond ASCII was written by another program and is read as such; bytes that
// cannot stand in a name are shown as U+FFFD.
QString decodeLine(QByteArrayView raw, QStringList *problems)
{
    qsizetype firstOdd = 0;
    while (firstOdd < raw.size() && uchar(raw[firstOdd]) >= 0x20 && uchar(raw[firstOdd]) < 0x7F)
        ++firstOdd;
    if (firstOdd == raw.size())
        return decodeText(raw.toByteArray());

    bool highBytes = false;
    for (qsizetype i = firstOdd; i < raw.size() && !highBytes; ++i)
        highBytes = uchar(raw[i]) >= 0x80;
    if (highBytes) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8(raw);
        if (!utf8.hasError()) {
            problems->append(QStringLiteral("la riga è scritta in UTF-8 e non nella codifica dei "
                                            "registri: letta come UTF-8"));
            qsizetype odd = 0;
            for (QChar &c : text) {
                if (!isPlainChar(c) && c.unicode() < 0x100) {
                    c = QChar::ReplacementCharacter;
                    ++odd;
                }
            }
            if (odd == 1)
                problems->append(QStringLiteral("1 carattere di controllo mostrato come \uFFFD"));
            else if (odd > 1)
                problems->append(
                    QStringLiteral("%1 caratteri di controllo mostrati come \uFFFD").arg(odd));
            return text;
        }
    }

    QString text = decodeText(raw.toByteArray());
    qsizetype odd = 0;
    qsizetype firstColumn = 0;
    uchar firstByte = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (!isPlainByte(uchar(raw[i]))) {
            if (odd++ == 0) {
                firstColumn = i + 1;
                firstByte = uchar(raw[i]);
            }
            text[i] = QChar::ReplacementCharacter;
        }
    }
    if (odd == 0)
        return text;
    const QString byteText =
        QStringLiteral("0x") + QString::number(firstByte, 16).toUpper().rightJustified(2, u'0');
    if (odd == 1)
        problems->append(QStringLiteral("byte non valido %1 alla colonna %2, mostrato come \uFFFD")
                             .arg(byteText)
                             .arg(firstColumn));
    else
        problems->append(QStringLiteral("%1 byte non validi (il primo, %2, alla colonna %3), "
                                        "mostrati come \uFFFD")
                             .arg(odd)
                             .arg(byteText)
                             .arg(firstColumn));
    return text;
}

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
        if (!m_text.endsWith(word))
            return false;
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
    // What stands just before the cursor, to quote in a warning.
    QString context() const
    {
        const qsizetype n = std::min<qsizetype>(m_text.size(), 12);
        return quoted(m_text.last(n).toString() + QStringLiteral("…"));
    }

private:
    QStringView m_text;
};

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A count as "###0" writes it: digits only.
std::optional<qint32> readCount(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 9)
        return std::nullopt;
    qint32 value = 0;
    for (QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

// Why a line without "Data:" stops short: the first fixed word that is missing.
QString incompleteReason(QStringView line)
{
    qsizetype from = NameWord.size();
    for (QStringView word : {CorrectWord, WrongWord, TimeWord, DateWord}) {
        const qsizetype at = line.indexOf(word, from);
        if (at < 0)
            return QStringLiteral("riga incompleta: si interrompe prima di %1; partita non letta")
                .arg(quoted(word));
        from = at + word.size();
    }
    return QStringLiteral("riga incompleta; partita non letta");
}

// Month names of the date forms seen in class logs (Italian and English), and week
// days that a long date form may put in front.
constexpr std::array<std::array<const char16_t *, 2>, 12> MonthNames = {{
    {u"gennaio", u"january"},
    {u"febbraio", u"february"},
    {u"marzo", u"march"},
    {u"aprile", u"april"},
    {u"maggio", u"may"},
    {u"giugno", u"june"},
    {u"luglio", u"july"},
    {u"agosto", u"august"},
    {u"settembre", u"september"},
    {u"ottobre", u"october"},
    {u"novembre", u"november"},
    {u"dicembre", u"december"},
}};
constexpr std::array<const char16_t *, 14> DayNames = {
    u"lunedì", u"martedì", u"mercoledì", u"giovedì", u"venerdì", u"sabato", u"domenica",
    u"monday", u"tuesday", u"wednesday", u"thursday", u"friday", u"saturday", u"sunday"};

// An abbreviation of at least three letters of one of `names`.
bool abbreviates(const QString &word, QStringView name)
{
    return word.size() >= 3 && name.startsWith(word);
}

int monthOfWord(const QString &word)
{
    for (int m = 0; m < 12; ++m)
        for (const char16_t *name : MonthNames[m])
            if (abbreviates(word, QStringView(name)))
                return m + 1;
    return 0;
}

bool isDayWord(const QString &word)
{
    for (const char16_t *name : DayNames)
        if (abbreviates(word, QStringView(name)))
            return true;
    return false;
}

// A two-digit year as a short date form writes it: the century that puts it no more
// than a year ahead of today.
int fullYear(QStringView digits)
{
    const int value = digits.toInt();
    if (digits.size() == 4)
        return value;
    if (digits.size() != 2)
        return 0;
    // Asking the clock costs a time zone lookup: once per run is enough.
    static const int thisYear = QDate::currentDate().year();
    const int year = thisYear / 100 * 100 + value;
    return year > thisYear + 1 ? year - 100 : year;
}

QDate makeDate(QStringView y, QStringView m, QStringView d)
{
    if (m.size() > 2 || d.size() > 2)
        return {};
    const int year = fullYear(y);
    return year > 0 ? QDate(year, m.toInt(), d.toInt()) : QDate();
}

QString orderName(DateOrder order)
{
    switch (order) {
    case DateOrder::DayMonthYear:
        return QStringLiteral("giorno/mese/anno");
    case DateOrder::MonthDayYear:
        return QStringLiteral("mese/giorno/anno");
    case DateOrder::YearMonthDay:
        return QStringLiteral("anno/mese/giorno");
    }
    return {};
}

QDate dateInOrder(const QList<QStringView> &n, DateOrder order)
{
    switch (order) {
    case DateOrder::DayMonthYear:
        return makeDate(n[2], n[1], n[0]);
    case DateOrder::MonthDayYear:
        return makeDate(n[2], n[0], n[1]);
    case DateOrder::YearMonthDay:
        return makeDate(n[0], n[1], n[2]);
    }
    return {};
}

} // namespace

QString ClassLogWarning::text() const
{
    if (lineNumber <= 0)
        return reason;
    return QStringLiteral("Riga %1: %2").arg(lineNumber).arg(reason);
}

DateOrder dateOrderOf(const QLocale &locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype d = format.indexOf(u'd');
    const qsizetype m = format.indexOf(u'M');
    const qsizetype y = format.indexOf(u'y');
    if (y >= 0 && (d < 0 || y < d) && (m < 0 || y < m))
        return DateOrder::YearMonthDay;
    if (m >= 0 && d >= 0 && m < d)
        return DateOrder::MonthDayYear;
    return DateOrder::DayMonthYear;
}

QDate parseLogDate(QStringView text, DateOrder order, QString *note)
{
    if (note)
        note->clear();
    text = text.trimmed();
    // A date and time ("15/04/2007 10:30:12"): the date is what stands before the time.
    if (const qsizetype colon = text.indexOf(u':'); colon >= 0) {
        const qsizetype cut = text.first(colon).lastIndexOf(u' ');
        if (cut <= 0)
            return {};
        text = text.first(cut).trimmed();
    }
    QList<QStringView> numbers;
    int month = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        qsizetype j = i + 1;
        if (isAsciiDigit(c)) {
            while (j < text.size() && isAsciiDigit(text[j]))
                ++j;
            numbers.append(text.sliced(i, j - i));
        } else if (c.isLetter()) {
            while (j < text.size() && text[j].isLetter())
                ++j;
            const QString word = text.sliced(i, j - i).toString().toLower();
            if (const int m = monthOfWord(word); m > 0 && month == 0)
                month = m;
            else if (!isDayWord(word))
                return {};
        } else if (!QStringView(u" /.-,").contains(c)) {
            return {};
        }
        i = j;
    }

    if (month > 0) {
        // "15 apr 2007", "Apr 15, 2007", "2007 apr 15": a day and a year.
        if (numbers.size() != 2)
            return {};
        const bool yearFirst = numbers[0].size() == 4;
        const QStringView day = yearFirst ? numbers[1] : numbers[0];
        const QStringView year = yearFirst ? numbers[0] : numbers[1];
        if (day.size() > 2)
            return {};
        const int y = fullYear(year);
        return y > 0 ? QDate(y, month, day.toInt()) : QDate();
    }

    if (numbers.size() != 3)
        return {};
    // A four-digit year settles the order by itself.
    if (numbers[0].size() == 4)
        return dateInOrder(numbers, DateOrder::YearMonthDay);
    if (numbers[2].size() == 4 && order == DateOrder::YearMonthDay)
        order = DateOrder::DayMonthYear;
    QDate date = dateInOrder(numbers, order);
    if (date.isValid() || order == DateOrder::YearMonthDay)
        return date;
    const DateOrder other =
        order == DateOrder::DayMonthYear ? DateOrder::MonthDayYear : DateOrder::DayMonthYear;
    date = dateInOrder(numbers, other);
    if (date.isValid() && note)
        *note = QStringLiteral("data %1 letta come %2").arg(quoted(text), orderName(other));
    return date;
}

int parseClockText(QStringView text)
{
    const QList<QStringView> parts = text.split(text.contains(u':') ? u':' : u'.');
    if (parts.size() != 3)
        return -1;
    int fields[3];
    for (int k = 0; k < 3; ++k) {
        const QStringView p = parts[k];
        if (p.isEmpty() || p.size() > 2)
            return -1;
        for (QChar c : p)
            if (!isAsciiDigit(c))
                return -1;
        fields[k] = p.toInt();
    }
    if (fields[1] >= 60 || fields[2] >= 60)
        return -1;
    return fields[0] * 3600 + fields[1] * 60 + fields[2];
}

QString clockText(int seconds)
{
    if (seconds < 0)
        return {};
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

ParsedLine parseClassLogLine(QByteArrayView raw, DateOrder order)
{
    ParsedLine out;
    while (!raw.isEmpty() && (raw.back() == '\r' || raw.back() == '\n'))
        raw.chop(1);
    const QString text = decodeLine(raw, &out.problems);
    QStringView line = QStringView(text).trimmed();
    // A byte order mark where two files were joined together.
    if (line.startsWith(QChar::ByteOrderMark))
        line = line.sliced(1).trimmed();
    if (line.isEmpty()) {
        out.problems.append(QStringLiteral("riga vuota"));
        return out;
    }
    if (!line.startsWith(NameWord)) {
        out.problems.append(
            QStringLiteral("non è la riga di una partita: non comincia con %1").arg(quoted(NameWord)));
        return out;
    }

    const qsizetype datePos = line.lastIndexOf(DateWord);
    if (datePos < 0) {
        out.problems.append(incompleteReason(line));
        return out;
    }
    ClassLogEntry entry;
    const bool newRecord =
        datePos >= NewRecordMark.size() &&
        line.sliced(datePos - NewRecordMark.size(), NewRecordMark.size()) == NewRecordMark;
    entry.form = newRecord ? LogForm::NewRecord : LogForm::RecordStands;

    BackCursor cursor(line.first(newRecord ? datePos - NewRecordMark.size() : datePos));
    auto unrecognised = [&](QStringView expected) {
        out.problems.append(
            QStringLiteral("riga non riconosciuta: al posto di %1 c'è %2; partita non letta")
                .arg(quoted(expected), cursor.context()));
        return out;
    };

    cursor.skipSpaces();
    const QStringView clock =
        cursor.takeWhile([](QChar c) { return isAsciiDigit(c) || c == u':' || c == u'.'; });
    cursor.skipSpaces();
    if (!cursor.takeWord(TimeWord))
        return unrecognised(TimeWord);
    cursor.skipSpaces();
    const std::optional<qint32> wrong = readCount(cursor.takeWhile(isAsciiDigit));
    cursor.skipSpaces();
    if (!wrong)
        return unrecognised(QStringLiteral("il numero di risposte errate"));
    if (!cursor.takeWord(WrongWord))
        return unrecognised(WrongWord);
    cursor.skipSpaces();
    const std::optional<qint32> correct = readCount(cursor.takeWhile(isAsciiDigit));
    cursor.skipSpaces();
    if (!correct)
        return unrecognised(QStringLiteral("il numero di risposte esatte"));
    if (!cursor.takeWord(CorrectWord))
        return unrecognised(CorrectWord);

    // What is left is "Nome:", two spaces, the name, and one space (new record) or two.
    QStringView name = cursor.rest().sliced(NameWord.size());
    for (int k = 0; k < 2 && name.startsWith(u' '); ++k)
        name = name.sliced(1);
    for (int k = newRecord ? 1 : 2; k > 0 && name.endsWith(u' '); --k)
        name.chop(1);
    if (name.contains(CorrectWord) && name.contains(DateWord)) {
        out.problems.append(QStringLiteral("sembrano due partite sulla stessa riga (manca un a "
                                           "capo); riga non letta"));
        return out;
    }

    entry.name = name.toString();
    entry.correct = *correct;
    entry.wrong = *wrong;

    if (clock.isEmpty()) {
        out.problems.append(QStringLiteral("manca il tempo restante"));
    } else {
        entry.secondsLeft = parseClockText(clock);
        if (entry.secondsLeft < 0)
            out.problems.append(
                QStringLiteral("tempo restante non leggibile: %1").arg(quoted(clock)));
        else if (entry.secondsLeft > GameSeconds)
            out.problems.append(
                QStringLiteral("tempo restante %1 oltre i 15 minuti di una partita; tempo "
                               "impiegato non calcolato")
                    .arg(quoted(clock)));
    }

    const QStringView dateText = line.sliced(datePos + DateWord.size()).trimmed();
    entry.dateText = dateText.toString();
    if (dateText.isEmpty()) {
        out.problems.append(QStringLiteral("manca la data"));
    } else {
        QString note;
        entry.date = parseLogDate(dateText, order, &note);
        if (!entry.date.isValid())
            out.problems.append(QStringLiteral("data non riconosciuta: %1").arg(quoted(dateText)));
        else if (!note.isEmpty())
            out.problems.append(note);
    }
    out.entry = std::move(entry);
    return out;
}

ClassLogParser::ClassLogParser(DateOrder order, qint64 firstLineNumber)
    : m_order(order), m_lineNumber(firstLineNumber), m_firstLine(firstLineNumber == 1)
{
}

void ClassLogParser::addData(QByteArrayView bytes)
{
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', pos);
        const QByteArrayView piece = bytes.sliced(pos, (end < 0 ? bytes.size() : end) - pos);
        m_pendingBytes += piece.size();
        if (!m_overlong) {
            if (m_pendingBytes > MaxLineLength) {
                m_overlong = true;
                m_pending = QByteArray();
            } else if (end < 0 || !m_pending.isEmpty()) {
                m_pending.append(piece);
            }
        }
        if (end < 0)
            break;
        if (m_overlong)
            takeLine({});
        else if (m_pending.isEmpty())
            takeLine(piece);
        else
            takeLine(m_pending);
        m_pending.clear();
        m_completeBytes += m_pendingBytes + 1;
        m_pendingBytes = 0;
        pos = end + 1;
    }
}

void ClassLogParser::finish()
{
    if (m_pending.isEmpty() && !m_overlong)
        return;
    takeLine(m_pending);
    m_pending = QByteArray();
    m_pendingBytes = 0;
}

void ClassLogParser::takeLine(QByteArrayView line)
{
    const qint64 number = m_lineNumber++;
    const bool first = std::exchange(m_firstLine, false);
    if (std::exchange(m_overlong, false)) {
        warn(number, QStringLiteral("riga troppo lunga (oltre %1 caratteri); riga non letta")
                         .arg(MaxLineLength));
        return;
    }
    if (first && line.startsWith("\xEF\xBB\xBF"))
        line = line.sliced(3);

    ParsedLine parsed = parseClassLogLine(line, m_order);
    for (const QString &problem : std::as_const(parsed.problems))
        warn(number, problem);
    if (!parsed.entry)
        return;
    ClassLogEntry &entry = *parsed.entry;
    entry.lineNumber = number;
    // Names and dates repeat from line to line: keep one copy of each.
    for (QString *text : {&entry.name, &entry.dateText}) {
        const auto known = m_names.constFind(*text);
        if (known != m_names.cend())
            *text = *known;
        else
            m_names.insert(*text);
    }
    m_entries.append(std::move(entry));
}

void ClassLogParser::warn(qint64 line, const QString &reason)
{
    ++m_warningCount;
    if (m_warnings.size() < MaxWarnings)
        m_warnings.append({line, reason});
}

ClassLogRead readClassLog(const QString &path, qint64 offset, qint64 firstLineNumber,
                          DateOrder order)
{
    ClassLogRead result;
    result.endOffset = result.completeOffset = offset;
    result.nextLineNumber = firstLineNumber;

    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = QStringLiteral("il file non esiste più");
        return result;
    }
    // A pipe or a device would block or never end: only plain files are read.
    if (!info.isFile()) {
        result.error = QStringLiteral("non è un file di testo");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("impossibile aprire il file: %1").arg(file.errorString());
        return result;
    }
    if (offset > 0 && !file.seek(offset)) {
        result.error = QStringLiteral("impossibile leggere il file: %1").arg(file.errorString());
        return result;
    }

    ClassLogParser parser(order, firstLineNumber);
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = file.read(block.data(), block.size())) > 0) {
        parser.addData(QByteArrayView(block.constData(), read));
        result.endOffset += read;
    }
    if (read < 0)
        result.error = QStringLiteral("errore di lettura: %1").arg(file.errorString());

    result.completeOffset = offset + parser.completeBytes();
    result.nextLineNumber = parser.nextLineNumber();
    result.entriesBeforeTail = parser.entries().size();
    result.warningsBeforeTail = parser.warnings().size();
    result.warningCountBeforeTail = parser.warningCount();
    parser.finish();
    result.entries = parser.takeEntries();
    result.warnings = parser.takeWarnings();
    result.warningCount = parser.warningCount();
    return result;
}

} // namespace records
