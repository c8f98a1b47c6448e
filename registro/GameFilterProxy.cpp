#include "GameFilterProxy.h"

#include "GameColumns.h"
#include "GameTableModel.h"
#include "RegisterFormat.h"

namespace registro {

using records::ClassLogEntry;

namespace {
template <typename T> int compare(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}
} // namespace

GameFilterProxy::GameFilterProxy(QObject *parent) : QSortFilterProxyModel(parent)
{
    setDynamicSortFilter(true);
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

bool GameFilterProxy::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    // Straight from the entries: a sort of 100 000 games makes millions of comparisons.
    const int l = left.row();
    const int r = right.row();
    const auto sortKey = gameColumns()[left.column()].sortKey;
    const int c = compare(sortKey(*m_games, l), sortKey(*m_games, r));
    // The proxy sorts stably: equal values keep the order of the file either way.
    return c < 0;
}

} // namespace registro
