#include "LogDates.h"

#include "ClassLogWarning.h"

#include <QList>

#include <array>

namespace records {

namespace {

// Month names of the date forms seen in class logs (Italian, then English), and week
// days that a long date form may put in front.
constexpr std::array<const char16_t *, 24> MonthNames = {
    u"gennaio", u"febbraio", u"marzo",     u"aprile",  u"maggio",   u"giugno",
    u"luglio",  u"agosto",   u"settembre", u"ottobre", u"novembre", u"dicembre",
    u"january", u"february", u"march",     u"april",   u"may",      u"june",
    u"july",    u"august",   u"september", u"october", u"november", u"december"};
constexpr std::array<const char16_t *, 14> DayNames = {
    u"lunedì", u"martedì", u"mercoledì", u"giovedì",  u"venerdì", u"sabato",   u"domenica",
    u"monday", u"tuesday", u"wednesday", u"thursday", u"friday",  u"saturday", u"sunday"};

// An abbreviation of at least three letters of one of `names`.
bool abbreviates(const QString &word, QStringView name)
{
    return word.size() >= 3 && name.startsWith(word);
}

int monthOfWord(const QString &word)
{
    for (std::size_t i = 0; i < MonthNames.size(); ++i)
        if (abbreviates(word, QStringView(MonthNames[i]))) return int(i % 12) + 1;
    return 0;
}

bool isDayWord(const QString &word)
{
    for (const char16_t *name : DayNames)
        if (abbreviates(word, QStringView(name))) return true;
    return false;
}

// A two-digit year as a short date form writes it: the century that puts it no more
// than a year ahead of today.
int fullYear(QStringView digits)
{
    const int value = digits.toInt();
    if (digits.size() == 4) return value;
    if (digits.size() != 2) return 0;
    // Asking the clock costs a time zone lookup: once per run is enough.
    static const int thisYear = QDate::currentDate().year();
    const int year = thisYear / 100 * 100 + value;
    return year > thisYear + 1 ? year - 100 : year;
}

QDate makeDate(QStringView y, QStringView m, QStringView d)
{
    if (m.size() > 2 || d.size() > 2) return {};
    const int year = fullYear(y);
    return year > 0 ? QDate(year, m.toInt(), d.toInt()) : QDate();
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

DateOrder dateOrderOf(const QLocale &locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype d = format.indexOf(u'd');
    const qsizetype m = format.indexOf(u'M');
    const qsizetype y = format.indexOf(u'y');
    if (y >= 0 && (d < 0 || y < d) && (m < 0 || y < m)) return DateOrder::YearMonthDay;
    if (m >= 0 && d >= 0 && m < d) return DateOrder::MonthDayYear;
    return DateOrder::DayMonthYear;
}

QDate parseLogDate(QStringView text, DateOrder order, QList<ClassLogWarning> *warnings)
{
    text = text.trimmed();
    // A date and time ("15/04/2007 10:30:12"): the date is what stands before the time.
    if (const qsizetype colon = text.indexOf(u':'); colon >= 0) {
        const qsizetype cut = text.first(colon).lastIndexOf(u' ');
        if (cut <= 0) return {};
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
        if (numbers.size() != 2) return {};
        const bool yearFirst = numbers[0].size() == 4;
        const QStringView day = yearFirst ? numbers[1] : numbers[0];
        const QStringView year = yearFirst ? numbers[0] : numbers[1];
        if (day.size() > 2) return {};
        const int y = fullYear(year);
        return y > 0 ? QDate(y, month, day.toInt()) : QDate();
    }

    if (numbers.size() != 3) return {};
    // A four-digit year settles the order by itself.
    if (numbers[0].size() == 4) return dateInOrder(numbers, DateOrder::YearMonthDay);
    if (numbers[2].size() == 4 && order == DateOrder::YearMonthDay) order = DateOrder::DayMonthYear;
    QDate date = dateInOrder(numbers, order);
    if (date.isValid() || order == DateOrder::YearMonthDay) return date;
    const DateOrder other =
        order == DateOrder::DayMonthYear ? DateOrder::MonthDayYear : DateOrder::DayMonthYear;
    date = dateInOrder(numbers, other);
    if (date.isValid() && warnings)
        warnings->append({.kind = ClassLogWarning::Kind::DateInOtherOrder,
                          .order = other,
                          .piece = text.toString()});
    return date;
}

int parseClockText(QStringView text)
{
    const QList<QStringView> parts = text.split(text.contains(u':') ? u':' : u'.');
    if (parts.size() != 3) return -1;
    int fields[3];
    for (int k = 0; k < 3; ++k) {
        const QStringView p = parts[k];
        if (p.isEmpty() || p.size() > 2) return -1;
        for (QChar c : p)
            if (!isAsciiDigit(c)) return -1;
        fields[k] = p.toInt();
    }
    if (fields[1] >= 60 || fields[2] >= 60) return -1;
    return fields[0] * 3600 + fields[1] * 60 + fields[2];
}

QString clockText(int seconds, ClockForm form)
{
    if (seconds < 0) return {};
    const auto twoDigits = [](int n) {
        return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
    };
    const QString secondsPart = twoDigits(seconds % 60);
    switch (form) {
    case ClockForm::Minutes:
        return twoDigits(seconds / 60) + QLatin1Char(':') + secondsPart;
    case ClockForm::Hours:
        return QString::number(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds / 60 % 60) +
               QLatin1Char(':') + secondsPart;
    case ClockForm::Countdown:
        break;
    }
    return twoDigits(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds / 60 % 60) +
           QLatin1Char(':') + secondsPart;
}

} // namespace records
