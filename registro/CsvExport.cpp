#include "CsvExport.h"

#include "GameFilterProxy.h"
#include "GameTableModel.h"
#include "RegisterFormat.h"

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

namespace {
// A name is the player's own text: one that starts like a formula would be run by a
// spreadsheet, so it is written as text.
QString asText(const QString &text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front())) return u'\'' + text;
    return text;
}
} // namespace

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
    for (int c = 0; c < GameTableModel::ColumnCount; ++c)
        header << (c == GameTableModel::Accuracy ? QStringLiteral("Precisione (%)")
                                                 : GameTableModel::columnTitle(c));
    addRecord(header);

    const int rows = games.rowCount();
    for (int row = 0; row < rows; ++row) {
        const ClassLogEntry &e = games.entryAt(row);
        addRecord({
            asText(e.name),
            QString::number(e.correct),
            QString::number(e.wrong),
            QString::number(e.total()),
            e.accuracy() < 0 ? QString() : numbers.toString(e.accuracy(), 'f', 1),
            e.secondsUsed() < 0 ? QString()
                                : QStringLiteral("%1:%2:%3")
                                      .arg(e.secondsUsed() / 3600)
                                      .arg(e.secondsUsed() / 60 % 60, 2, 10, QLatin1Char('0'))
                                      .arg(e.secondsUsed() % 60, 2, 10, QLatin1Char('0')),
            e.date.isValid() ? e.date.toString(Qt::ISODate) : asText(e.dateText),
            yesNo(e.setRecord()),
        });
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace registro
