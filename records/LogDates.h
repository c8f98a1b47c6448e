#pragma once

// Dates and clock times as class logs hold them.

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringView>

namespace records {

struct ClassLogWarning;

// How a date with three numbers is read when nothing else tells the order.
enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The order of the short date form of `locale` (dd/MM/yy gives DayMonthYear).
DateOrder dateOrderOf(const QLocale &locale);

// Reads a date as short date forms of many systems write it: 15/04/2007, 15/04/07,
// 15.04.07, 15-04-2007, 2007-04-15, 4/15/07, 15 apr 2007, 15-Apr-07, also followed by a
// time of day. A date that fits only the other order of day and month is read in that order,
// and a warning saying so is added to `warnings`.
QDate parseLogDate(QStringView text, DateOrder order, QList<ClassLogWarning> *warnings = nullptr);

// "00:03:12" (also with '.' between the fields) as seconds; -1 when unreadable.
int parseClockText(QStringView text);
// The ways a span of seconds is written.
enum class ClockForm {
    Countdown, // "00:14:52", as the game's clock shows it and the class logs keep it
    Hours,     // "0:14:52", hours as few digits as they need (the CSV export)
    Minutes,   // "14:52", minutes without a limit (the register's time used)
};
// Seconds in `form`; empty for a negative span.
QString clockText(int seconds, ClockForm form = ClockForm::Countdown);

// The digits of dates, times and counts: ASCII only.
inline bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace records
