#include "ClassLogLineParser.h"

#include "ClassLogLineText.h"
#include "LogDates.h"

namespace records {

using namespace logformat;

namespace {

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
    // What stands just before the cursor, to quote in a warning.
    QString context() const
    {
        const qsizetype n = std::min<qsizetype>(m_text.size(), 12);
        return quotedInWarning(m_text.last(n).toString() + QStringLiteral("…"));
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

// Why a line without "Data:" stops short: the first fixed word that is missing.
QString incompleteReason(QStringView line)
{
    qsizetype from = NameWord.size();
    for (QStringView word : {CorrectWord, WrongWord, TimeWord, DateWord}) {
        const qsizetype at = line.indexOf(word, from);
        if (at < 0)
            return QStringLiteral("riga incompleta: si interrompe prima di %1; partita non letta")
                .arg(quotedInWarning(word));
        from = at + word.size();
    }
    return QStringLiteral("riga incompleta; partita non letta");
}

} // namespace

ParsedLine parseClassLogLine(QByteArrayView raw, DateOrder order)
{
    ParsedLine out;
    while (!raw.isEmpty() && (raw.back() == '\r' || raw.back() == '\n'))
        raw.chop(1);
    const QString text = decodeLogLine(raw, &out.problems);
    QStringView line = QStringView(text).trimmed();
    // A byte order mark where two files were joined together.
    if (line.startsWith(QChar::ByteOrderMark)) line = line.sliced(1).trimmed();
    if (line.isEmpty()) {
        out.problems.append(QStringLiteral("riga vuota"));
        return out;
    }
    if (!line.startsWith(NameWord)) {
        out.problems.append(QStringLiteral("non è la riga di una partita: non comincia con %1")
                                .arg(quotedInWarning(NameWord)));
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
                .arg(quotedInWarning(expected), cursor.context()));
        return out;
    };

    cursor.skipSpaces();
    const QStringView clock =
        cursor.takeWhile([](QChar c) { return isAsciiDigit(c) || c == u':' || c == u'.'; });
    cursor.skipSpaces();
    if (!cursor.takeWord(TimeWord)) return unrecognised(TimeWord);
    cursor.skipSpaces();
    const std::optional<qint32> wrong = readCount(cursor.takeWhile(isAsciiDigit));
    cursor.skipSpaces();
    if (!wrong) return unrecognised(QStringLiteral("il numero di risposte errate"));
    if (!cursor.takeWord(WrongWord)) return unrecognised(WrongWord);
    cursor.skipSpaces();
    const std::optional<qint32> correct = readCount(cursor.takeWhile(isAsciiDigit));
    cursor.skipSpaces();
    if (!correct) return unrecognised(QStringLiteral("il numero di risposte esatte"));
    if (!cursor.takeWord(CorrectWord)) return unrecognised(CorrectWord);

    // What is left is "Nome:", its spaces, the name and the spaces of the line's form.
    QStringView name = cursor.rest().sliced(NameWord.size());
    for (qsizetype k = AfterNameWord.size(); k > 0 && name.startsWith(u' '); --k)
        name = name.sliced(1);
    for (qsizetype k = lineForm(entry.form).afterName.size(); k > 0 && name.endsWith(u' '); --k)
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
                QStringLiteral("tempo restante non leggibile: %1").arg(quotedInWarning(clock)));
        else if (entry.secondsLeft > GameSeconds)
            out.problems.append(
                QStringLiteral("tempo restante %1 oltre i %2 minuti di una partita; tempo "
                               "impiegato non calcolato")
                    .arg(quotedInWarning(clock), QString::number(GameMinutes)));
    }

    const QStringView dateText = line.sliced(datePos + DateWord.size()).trimmed();
    entry.dateText = dateText.toString();
    if (dateText.isEmpty()) {
        out.problems.append(QStringLiteral("manca la data"));
    } else {
        QString note;
        entry.date = parseLogDate(dateText, order, &note);
        if (!entry.date.isValid())
            out.problems.append(
                QStringLiteral("data non riconosciuta: %1").arg(quotedInWarning(dateText)));
        else if (!note.isEmpty())
            out.problems.append(note);
    }
    out.entry = std::move(entry);
    return out;
}

} // namespace records
