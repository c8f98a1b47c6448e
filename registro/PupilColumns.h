#pragma once

#include "PupilSummary.h"

#include <QLocale>
#include <QString>
#include <QVariant>

#include <span>

namespace registro {

// One column of the summary per pupil: everything the table, its sorting and the tool tip of
// its header know of it. The columns are declared once, in order, in pupilColumns().
struct PupilColumn {
    const char16_t *title;
    Qt::Alignment alignment;
    Qt::SortOrder firstOrder; // names from A, numbers and dates highest first
    // The cell as the table shows it.
    QString (*text)(const PupilSummary &, const QLocale &);
    // What the rows are sorted by (ColumnTableModel::ValueRole): a number, a date, or the
    // name as shown.
    QVariant (*value)(const PupilSummary &);
    // The header's tool tip; null when it needs none.
    QString (*toolTip)();
};

std::span<const PupilColumn> pupilColumns();

} // namespace registro
