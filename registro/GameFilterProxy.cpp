#include "GameFilterProxy.h"

#include "GameTableModel.h"

namespace registro {

using records::ClassLogEntry;

GameFilterProxy::GameFilterProxy(QObject *parent) : QSortFilterProxyModel(parent)
{
    setDynamicSortFilter(true);
    // Sorting is stable: equal values keep the order of the file either way.
    setSortRole(GameTableModel::ValueRole);
}

void GameFilterProxy::setGameModel(GameTableModel *model)
{
    m_games = model;
    setSourceModel(model);
}

void GameFilterProxy::setNameFilter(const QString &text)
{
    const QString name = text.simplified();
    if (name == m_name) return;
    m_name = name;
    // One layout change instead of a signal per range of rows hidden or shown.
    invalidate();
}

void GameFilterProxy::setDateRange(const QDate &from, const QDate &to)
{
    if (from == m_from && to == m_to) return;
    m_from = from;
    m_to = to;
    invalidate();
}

bool GameFilterProxy::isFiltering() const
{
    return !m_name.isEmpty() || m_from.isValid() || m_to.isValid();
}

bool GameFilterProxy::accepts(const ClassLogEntry &e) const
{
    if (!m_name.isEmpty() && !e.name.simplified().contains(m_name, Qt::CaseInsensitive))
        return false;
    if (m_from.isValid() || m_to.isValid()) {
        if (!e.date.isValid()) return false;
        if (m_from.isValid() && e.date < m_from) return false;
        if (m_to.isValid() && e.date > m_to) return false;
    }
    return true;
}

const ClassLogEntry &GameFilterProxy::entryAt(int row) const
{
    return m_games->entry(mapToSource(index(row, 0)).row());
}

bool GameFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    return m_games && accepts(m_games->entry(sourceRow));
}

} // namespace registro
