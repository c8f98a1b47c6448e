#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QLocale>

#include <span>

namespace registro {

// A table model whose columns are declared once, as data: a Row a line and a Column (see
// GameColumn) a column, each with its title, alignment, first sort order, cell text, plain
// value and header tool tip. A model adds its own roles in rowData().
template <typename Row, typename Column> class ColumnTableModel : public QAbstractTableModel
{
public:
    // The plain value of a cell (number, date, bool) for sorting and export.
    static constexpr int ValueRole = Qt::UserRole;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_columns.size());
    }

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= columnCount())
            return {};
        const Row &row = m_rows.at(index.row());
        const Column &column = m_columns[index.column()];
        switch (role) {
        case Qt::DisplayRole:
            return column.text(row, m_locale);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(column.alignment);
        case ValueRole:
            return column.value(row);
        }
        return rowData(row, index.column(), role);
    }

    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override
    {
        if (orientation != Qt::Horizontal)
            return QAbstractTableModel::headerData(section, orientation, role);
        if (section < 0 || section >= columnCount()) return {};
        const Column &column = m_columns[section];
        if (role == Qt::DisplayRole) return QString::fromUtf16(column.title);
        if (role == Qt::InitialSortOrderRole) return column.firstOrder;
        if (role == Qt::ToolTipRole && column.toolTip) return column.toolTip();
        return {};
    }

protected:
    ColumnTableModel(std::span<const Column> columns, QObject *parent)
        : QAbstractTableModel(parent), m_columns(columns)
    {
    }

    // The cell's other roles (tool tips, keys).
    virtual QVariant rowData(const Row &row, int column, int role) const = 0;

    QLocale m_locale;
    QList<Row> m_rows;

private:
    std::span<const Column> m_columns;
};

} // namespace registro
