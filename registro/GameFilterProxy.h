#pragma once

#include "records/ClassLogEntry.h"

#include <QDate>
#include <QSortFilterProxyModel>

namespace registro {

class GameTableModel;

// The games the teacher is looking at: filtered by name and by a date range, sorted by
// any column's value (equal values keep the order of the file).
class GameFilterProxy : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit GameFilterProxy(QObject *parent = nullptr);

    void setGameModel(GameTableModel *model);
    GameTableModel *gameModel() const { return m_games; }

    // Part of the name, case and extra blanks ignored; empty for all.
    void setNameFilter(const QString &text);
    QString nameFilter() const { return m_name; }
    // Either end may be invalid (open). Games without a readable date are shown only
    // when both ends are open.
    void setDateRange(const QDate &from, const QDate &to);
    QDate dateFrom() const { return m_from; }
    QDate dateTo() const { return m_to; }
    bool isFiltering() const;

    bool accepts(const records::ClassLogEntry &entry) const;
    const records::ClassLogEntry &entryAt(int row) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    GameTableModel *m_games = nullptr;
    QString m_name;
    QDate m_from;
    QDate m_to;
};

} // namespace registro
