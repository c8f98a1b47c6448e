#include "RegisterFormat.h"

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
    if (seconds < 0) return {};
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString dateFormatOf(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    // A two-digit year is ambiguous in a register that spans years.
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
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
