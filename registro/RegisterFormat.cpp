#include "RegisterFormat.h"

#include "platform/Services.h"
#include "records/LogDates.h"

namespace registro {

QString displayName(const QString &name)
{
    return name.trimmed().isEmpty() ? QStringLiteral("(senza nome)") : name;
}

QString pupilKey(const QString &name)
{
    return name.simplified().toCaseFolded();
}

QString formatAccuracy(double percent, const QLocale &locale)
{
    if (percent < 0) return {};
    return locale.toString(percent, 'f', 1) + locale.percent();
}

QString formatDuration(int seconds)
{
    return records::clockText(seconds, records::ClockForm::Minutes);
}

QString dateFormatOf(const QLocale &locale)
{
    // A two-digit year is ambiguous in a register that spans years.
    return platform::shortDateFormat(locale);
}

QString formatDate(const QDate &date, const QString &raw, const QLocale &locale)
{
    return date.isValid() ? locale.toString(date, dateFormatOf(locale)) : raw;
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("sì") : QStringLiteral("no");
}

} // namespace registro
