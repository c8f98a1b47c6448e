#include "GameTableModel.h"

#include "GameColumns.h"
#include "RegisterFormat.h"

#include <QCollator>
#include <QHash>

#include <algorithm>

namespace registro {

using records::ClassLogEntry;

GameTableModel::GameTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void GameTableModel::setLocale(const QLocale &locale)
{
    m_locale = locale;
    rankNames();
    if (!m_entries.isEmpty()) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void GameTableModel::setEntries(QList<ClassLogEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    rankNames();
    endResetModel();
}

void GameTableModel::replaceTail(qsizetype keep, QList<ClassLogEntry> more)
{
    keep = std::clamp<qsizetype>(keep, 0, m_entries.size());
    if (keep < m_entries.size()) {
        beginRemoveRows({}, int(keep), int(m_entries.size() - 1));
        m_entries.resize(keep);
        m_nameRank.resize(keep);
        endRemoveRows();
    }
    if (more.isEmpty()) return;
    const int first = int(m_entries.size());
    beginInsertRows({}, first, int(first + more.size() - 1));
    m_entries.append(std::move(more));
    rankNames();
    endInsertRows();
}

void GameTableModel::rankNames()
{
    // Sorting by name compares ranks: a class has few names and many games.
    QHash<QString, int> rank;
    for (const ClassLogEntry &e : std::as_const(m_entries))
        rank.insert(e.name, 0);
    QStringList names = rank.keys();
    QCollator collator(m_locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
        const int c = collator.compare(displayName(a), displayName(b));
        return c != 0 ? c < 0 : a < b;
    });
    for (int i = 0; i < names.size(); ++i)
        rank[names[i]] = i;
    m_nameRank.resize(m_entries.size());
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        m_nameRank[i] = rank.value(m_entries[i].name);
}

QString GameTableModel::columnTitle(int column)
{
    if (column < 0 || column >= ColumnCount) return {};
    return QString::fromUtf16(gameColumns()[column].title);
}

QString GameTableModel::cellText(const ClassLogEntry &e, int column) const
{
    if (column < 0 || column >= ColumnCount) return {};
    return gameColumns()[column].text(e, m_locale);
}

int GameTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int GameTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GameTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size()) return {};
    const ClassLogEntry &e = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(e, index.column());
    case Qt::ToolTipRole:
        if (index.column() == Date && !e.date.isValid())
            return QStringLiteral("Data non riconosciuta (riga %1 del file)").arg(e.lineNumber);
        return QStringLiteral("Riga %1 del file").arg(e.lineNumber);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(gameColumns()[index.column()].alignment);
    case ValueRole:
        return gameColumns()[index.column()].value(e);
    case LineRole:
        return e.lineNumber;
    }
    return {};
}

QVariant GameTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < 0 || section >= ColumnCount) return {};
    const GameColumn &column = gameColumns()[section];
    if (role == Qt::DisplayRole) return QString::fromUtf16(column.title);
    if (role == Qt::InitialSortOrderRole) return column.firstOrder;
    if (role == Qt::ToolTipRole) {
        const QString tip = column.toolTip();
        if (!tip.isEmpty()) return tip;
    }
    return {};
}

} // namespace registro
