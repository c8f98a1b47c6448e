#pragma once

#include <QAbstractTableModel>
#include <QCollator>
#include <QHash>
#include <QList>
#include <QLocale>

#include <algorithm>
#include <span>

namespace registro {

// A table model whose columns are declared once, as data: a Row a line and a Column (see
// GameColumn) a column, each with its title, alignment, first sort order, cell text, sort
// value and header tool tip. A model adds its own roles in rowData().
template <typename Row, typename Column> class ColumnTableModel : public QAbstractTableModel
{
public:
    // What both tables are sorted by: a number or a date as the column's value gives it, a
    // text (a name) as its place in the alphabetical order of the column's texts under the
    // model's locale, so that a sort of many rows compares numbers only.
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
        case ValueRole: {
            const QList<int> &ranks = m_textRanks[index.column()];
            return ranks.isEmpty() ? column.value(row) : QVariant(ranks.at(index.row()));
        }
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

    // Dates and numbers are shown, and texts put in order, as in `locale`.
    void setLocale(const QLocale &locale)
    {
        m_locale = locale;
        rankTexts();
        if (!m_rows.isEmpty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }

protected:
    ColumnTableModel(std::span<const Column> columns, QObject *parent)
        : QAbstractTableModel(parent), m_columns(columns), m_textRanks(columns.size())
    {
        // A column is a text column when its value is a text: a row's value type never varies.
        for (int c = 0; c < int(columns.size()); ++c)
            if (columns[c].value(Row()).typeId() == QMetaType::QString) m_textColumns << c;
    }

    // The cell's other roles (tool tips, keys).
    virtual QVariant rowData(const Row &row, int column, int role) const = 0;

    void setRows(QList<Row> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        rankTexts();
        endResetModel();
    }

    // Called whenever m_rows or the locale changes. A table has few distinct names and many
    // rows: each name is put in its place once, and rows share its rank.
    void rankTexts()
    {
        QCollator collator(m_locale);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setNumericMode(true);
        for (int c : std::as_const(m_textColumns)) {
            const auto value = m_columns[c].value;
            QHash<QString, int> rank;
            for (const Row &row : std::as_const(m_rows))
                rank.insert(value(row).toString(), 0);
            QStringList texts = rank.keys();
            std::sort(texts.begin(), texts.end(), [&](const QString &a, const QString &b) {
                const int order = collator.compare(a, b);
                return order != 0 ? order < 0 : a < b;
            });
            for (int i = 0; i < texts.size(); ++i)
                rank[texts[i]] = i;
            QList<int> &ranks = m_textRanks[c];
            ranks.resize(m_rows.size());
            for (qsizetype r = 0; r < m_rows.size(); ++r)
                ranks[r] = rank.value(value(m_rows[r]).toString());
        }
    }

    QList<Row> m_rows;

private:
    std::span<const Column> m_columns;
    QLocale m_locale;
    QList<int> m_textColumns;
    QList<QList<int>> m_textRanks; // by column; empty for a column that is not text
};

} // namespace registro
