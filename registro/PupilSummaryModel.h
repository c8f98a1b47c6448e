#pragma once

#include "ColumnTableModel.h"
#include "PupilColumns.h"
#include "PupilSummary.h"

namespace registro {

// The summary per pupil, one row per pupil.
class PupilSummaryModel : public ColumnTableModel<PupilSummary, PupilColumn>
{
    Q_OBJECT

public:
    // The columns, in the order of pupilColumns(); ColumnCount is checked against it.
    enum Column { Name, Games, BestScore, MeanAccuracy, LastDate, ColumnCount };
    static constexpr int KeyRole = Qt::UserRole + 1; // the pupil's pupilKey(), in every column

    explicit PupilSummaryModel(QObject *parent = nullptr);

    void setSummaries(QList<PupilSummary> pupils) { setRows(std::move(pupils)); }
    const QList<PupilSummary> &summaries() const { return m_rows; }

protected:
    QVariant rowData(const PupilSummary &pupil, int column, int role) const override;
};

} // namespace registro
