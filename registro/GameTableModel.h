#pragma once

#include "GameColumns.h"
#include "records/ClassLogEntry.h"

#include <QAbstractTableModel>
#include <QList>
#include <QLocale>

namespace registro {

// The games of one class log, one row per game in the order of the file.
class GameTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The columns, in the order of gameColumns().
    enum Column { Name, Correct, Wrong, Total, Accuracy, TimeUsed, Date, Record, ColumnCount };
    // The plain value of a cell (number, date, bool) for sorting and export.
    static constexpr int ValueRole = Qt::UserRole;
    static constexpr int LineRole = Qt::UserRole + 1;

    explicit GameTableModel(QObject *parent = nullptr);

    void setLocale(const QLocale &locale);
    QLocale locale() const { return m_locale; }

    void setEntries(QList<records::ClassLogEntry> entries);
    // Keeps the first `keep` rows and appends `more` after them.
    void replaceTail(qsizetype keep, QList<records::ClassLogEntry> more);
    const QList<records::ClassLogEntry> &entries() const { return m_entries; }
    const records::ClassLogEntry &entry(int row) const { return m_entries.at(row); }
    // The place of a row's name in the alphabetical order of all names.
    int nameRank(int row) const { return m_nameRank.at(row); }

    static QString columnTitle(int column);
    QString cellText(const records::ClassLogEntry &entry, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void rankNames();

    QLocale m_locale;
    QList<records::ClassLogEntry> m_entries;
    QList<int> m_nameRank;
};

} // namespace registro
