#pragma once

#include "records/ClassLogEntry.h"

#include <QLocale>
#include <QString>
#include <QVariant>

#include <span>

namespace registro {

// One column of the games table: everything the table, its sorting, the tool tip of its
// header and the CSV export know of it. The columns are declared once, in order, in
// gameColumns(); adding one is adding a row there.
struct GameColumn {
    const char16_t *title;
    const char16_t *csvTitle; // the CSV header's field; null when it is the title
    Qt::Alignment alignment;
    Qt::SortOrder firstOrder; // scores, dates and records read best highest, latest first
    // The cell as the table shows it.
    QString (*text)(const records::ClassLogEntry &, const QLocale &);
    // The field of the CSV export (`numbers`: the locale without digit grouping); null when
    // it is the cell's text.
    QString (*csv)(const records::ClassLogEntry &, const QLocale &numbers);
    // What the rows are sorted by (ColumnTableModel::ValueRole): a number, a date, or the
    // name as shown.
    QVariant (*value)(const records::ClassLogEntry &);
    // The header's tool tip; null when it needs none.
    QString (*toolTip)();
};

std::span<const GameColumn> gameColumns();

} // namespace registro
