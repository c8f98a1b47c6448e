#pragma once

#include <QByteArray>
#include <QChar>
#include <QLocale>
#include <QString>

namespace registro {

class GameFilterProxy;

// The field separator spreadsheets of `locale` expect: ';' where the decimal separator
// is a comma (Italian, German, French...), ',' elsewhere.
QChar csvDelimiterFor(const QLocale &locale);

// One field: quoted, with its quotes doubled, when it holds the delimiter, a quote,
// CR or LF, or starts or ends with a space.
QString csvField(const QString &text, QChar delimiter);

// The games as shown (filtered and in their sort order) as CSV: UTF-8 with a byte
// order mark so that spreadsheets on Windows read accented names right, a header row,
// every record ended by CR LF. Numbers use the locale's decimal separator, dates are
// written yyyy-MM-dd and times h:mm:ss, which every spreadsheet reads as such. A name
// that starts with = + - or @ gets a leading apostrophe so it is not taken for a formula.
QByteArray gamesCsv(const GameFilterProxy &games, const QLocale &locale);

} // namespace registro
