#include "Services.h"

#include "RuntimeError.h"

namespace platform {

QString shortDateFormat(const QLocale &locale, Year year)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (year == Year::TwoDigits)
        format.replace(QStringLiteral("yyyy"), QStringLiteral("yy"));
    else if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

QString shortDateText(const QDate &date, const QLocale &locale)
{
    return locale.toString(date, shortDateFormat(locale));
}

void reportFatalError(Services &services, const std::exception &error)
{
    QString text;
    if (const auto *runtime = dynamic_cast<const RuntimeError *>(&error))
        text = QStringLiteral("Errore di run-time '%1':\n\n%2")
                   .arg(runtime->number())
                   .arg(runtime->description());
    else
        text = QStringLiteral("Errore interno:\n\n%1").arg(QString::fromLocal8Bit(error.what()));
    services.messageBox(text + QStringLiteral("\n\nIl programma verrà chiuso."));
    services.endProgram();
}

} // namespace platform
