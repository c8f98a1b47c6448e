#pragma once

#include "records/ClassLogEntry.h"

#include <QLocale>
#include <QString>
#include <QVariant>

#include <array>

namespace registro {

class GameTableModel;

// One column of the games table: everything the table, its sorting, the tool tip of its
// header and the CSV export know of it. The columns are declared once, in order, in
// gameColumns(); adding one is adding a row there.
struct GameColumn {
    const char16_t *title;
    const char16_t *csvTitle; // the CSV header's field
    Qt::Alignment alignment;
    Qt::SortOrder firstOrder; // scores, dates and records read best highest, latest first
    // The cell as the table shows it.
    QString (*text)(const records::ClassLogEntry &, const QLocale &);
    // The field of the CSV export (`numbers`: the locale without digit grouping).
    QString (*csv)(const records::ClassLogEntry &, const QLocale &numbers);
    // The plain value (number, date, bool) for GameTableModel::ValueRole.
    QVariant (*value)(const records::ClassLogEntry &);
    // What rows are sorted by; the model gives the name's place among all names.
    double (*sortKey)(const GameTableModel &, int row);
    // The header's tool tip; null when it needs none.
    QString (*toolTip)();
};

inline constexpr int GameColumnCount = 8;
const std::array<GameColumn, GameColumnCount> &gameColumns();

} // namespace registro
