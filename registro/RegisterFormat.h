#pragma once

// How the register shows the values of a game to the teacher.

#include <QDate>
#include <QLocale>
#include <QString>

namespace registro {

// The name as shown: "(senza nome)" for a game whose player gave no name.
QString displayName(const QString &name);
// Games of one pupil are grouped under this key: blanks folded, case ignored, so
// "Anna", "anna" and " Anna " are the same pupil.
QString pupilKey(const QString &name);
// 77.777 gives "77,8%" in Italian; empty for a negative value (no answers).
QString formatAccuracy(double percent, const QLocale &locale);
// Minutes and seconds, "11:48"; empty for a negative value (unknown).
QString formatDuration(int seconds);
// The locale's short date pattern with a four-digit year ("dd/MM/yyyy").
QString dateFormatOf(const QLocale &locale);
// The locale's short date with a four-digit year ("15/04/2007"); `raw` when the date
// could not be read.
QString formatDate(const QDate &date, const QString &raw, const QLocale &locale);
QString yesNo(bool value);

} // namespace registro
