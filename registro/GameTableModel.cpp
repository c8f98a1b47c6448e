#include "GameTableModel.h"

#include "GameColumns.h"

#include <algorithm>

namespace registro {

using records::ClassLogEntry;

GameTableModel::GameTableModel(QObject *parent) : ColumnTableModel(gameColumns(), parent) {}

void GameTableModel::replaceTail(qsizetype keep, QList<ClassLogEntry> more)
{
    keep = std::clamp<qsizetype>(keep, 0, m_rows.size());
    if (keep < m_rows.size()) {
        beginRemoveRows({}, int(keep), int(m_rows.size() - 1));
        m_rows.resize(keep);
        rankTexts();
        endRemoveRows();
    }
    if (more.isEmpty()) return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, int(first + more.size() - 1));
    m_rows.append(std::move(more));
    rankTexts();
    endInsertRows();
}

QVariant GameTableModel::rowData(const ClassLogEntry &e, int column, int role) const
{
    if (role != Qt::ToolTipRole) return {};
    if (column == Date && !e.date.isValid())
        return QStringLiteral("Data non riconosciuta (riga %1 del file)").arg(e.lineNumber);
    return QStringLiteral("Riga %1 del file").arg(e.lineNumber);
}

} // namespace registro
