#include "CsvExport.h"

#include "GameColumns.h"
#include "GameFilterProxy.h"

#include <QStringList>

namespace registro {

using records::ClassLogEntry;

QChar csvDelimiterFor(const QLocale &locale)
{
    return locale.decimalPoint() == QStringLiteral(",") ? QLatin1Char(';') : QLatin1Char(',');
}

QString csvField(const QString &text, QChar delimiter)
{
    const bool quote = text.contains(delimiter) || text.contains(u'"') || text.contains(u'\r') ||
                       text.contains(u'\n') || text.startsWith(u' ') || text.endsWith(u' ');
    if (!quote) return text;
    QString out = text;
    out.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + out + u'"';
}

QByteArray gamesCsv(const GameFilterProxy &games, const QLocale &locale)
{
    const QChar delimiter = csvDelimiterFor(locale);
    // Numbers without grouping, so a spreadsheet reads 1234 and not 1.234 as text.
    QLocale numbers = locale;
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);

    QString text;
    auto addRecord = [&](const QStringList &fields) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0) text += delimiter;
            text += csvField(fields[i], delimiter);
        }
        text += QStringLiteral("\r\n");
    };

    QStringList header;
    for (const GameColumn &column : gameColumns())
        header << QString::fromUtf16(column.csvTitle ? column.csvTitle : column.title);
    addRecord(header);

    const int rows = games.rowCount();
    for (int row = 0; row < rows; ++row) {
        const ClassLogEntry &e = games.entryAt(row);
        QStringList fields;
        for (const GameColumn &column : gameColumns())
            fields << (column.csv ? column.csv : column.text)(e, numbers);
        addRecord(fields);
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace registro
