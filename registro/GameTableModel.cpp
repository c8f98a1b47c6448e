#include "GameTableModel.h"

#include "GameColumns.h"
#include "RegisterFormat.h"

#include <QCollator>
#include <QHash>

#include <algorithm>

namespace registro {

using records::ClassLogEntry;

GameTableModel::GameTableModel(QObject *parent) : ColumnTableModel(gameColumns(), parent) {}

void GameTableModel::setLocale(const QLocale &locale)
{
    m_locale = locale;
    rankNames();
    if (!m_rows.isEmpty()) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void GameTableModel::setEntries(QList<ClassLogEntry> entries)
{
    beginResetModel();
    m_rows = std::move(entries);
    rankNames();
    endResetModel();
}

void GameTableModel::replaceTail(qsizetype keep, QList<ClassLogEntry> more)
{
    keep = std::clamp<qsizetype>(keep, 0, m_rows.size());
    if (keep < m_rows.size()) {
        beginRemoveRows({}, int(keep), int(m_rows.size() - 1));
        m_rows.resize(keep);
        m_nameRank.resize(keep);
        endRemoveRows();
    }
    if (more.isEmpty()) return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, int(first + more.size() - 1));
    m_rows.append(std::move(more));
    rankNames();
    endInsertRows();
}

void GameTableModel::rankNames()
{
    // Sorting by name compares ranks: a class has few names and many games.
    QHash<QString, int> rank;
    for (const ClassLogEntry &e : std::as_const(m_rows))
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
    m_nameRank.resize(m_rows.size());
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        m_nameRank[i] = rank.value(m_rows[i].name);
}

QVariant GameTableModel::rowData(const ClassLogEntry &e, int column, int role) const
{
    if (role == LineRole) return e.lineNumber;
    if (role != Qt::ToolTipRole) return {};
    if (column == Date && !e.date.isValid())
        return QStringLiteral("Data non riconosciuta (riga %1 del file)").arg(e.lineNumber);
    return QStringLiteral("Riga %1 del file").arg(e.lineNumber);
}

} // namespace registro
