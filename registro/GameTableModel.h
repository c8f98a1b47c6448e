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
    // The columns, in the order of gameColumns(); ColumnCount is checked against it.
    enum Column { Name, Correct, Wrong, Total, Accuracy, TimeUsed, Date, Record, ColumnCount };

    explicit GameTableModel(QObject *parent = nullptr);

    void setEntries(QList<records::ClassLogEntry> entries) { setRows(std::move(entries)); }
    // Keeps the first `keep` rows and appends `more` after them.
    void replaceTail(qsizetype keep, QList<records::ClassLogEntry> more);
    const QList<records::ClassLogEntry> &entries() const { return m_rows; }
    const records::ClassLogEntry &entry(int row) const { return m_rows.at(row); }

protected:
    QVariant rowData(const records::ClassLogEntry &entry, int column, int role) const override;
};

} // namespace registro
