#pragma once

#include "ColumnTableModel.h"
#include "GameColumns.h"
#include "records/ClassLogEntry.h"

namespace registro {

// The games of one class log, one row per game in the order of the file.
class GameTableModel : public ColumnTableModel<records::ClassLogEntry, GameColumn>
{
    Q_OBJECT

public:
    // The columns, in the order of gameColumns().
    enum Column { Name, Correct, Wrong, Total, Accuracy, TimeUsed, Date, Record, ColumnCount };
    static constexpr int LineRole = Qt::UserRole + 1;

    explicit GameTableModel(QObject *parent = nullptr);

    void setLocale(const QLocale &locale);
    QLocale locale() const { return m_locale; }

    void setEntries(QList<records::ClassLogEntry> entries);
    // Keeps the first `keep` rows and appends `more` after them.
    void replaceTail(qsizetype keep, QList<records::ClassLogEntry> more);
    const QList<records::ClassLogEntry> &entries() const { return m_rows; }
    const records::ClassLogEntry &entry(int row) const { return m_rows.at(row); }
    // The place of a row's name in the alphabetical order of all names.
    int nameRank(int row) const { return m_nameRank.at(row); }

protected:
    QVariant rowData(const records::ClassLogEntry &entry, int column, int role) const override;

private:
    void rankNames();

    QList<int> m_nameRank;
};

} // namespace registro
