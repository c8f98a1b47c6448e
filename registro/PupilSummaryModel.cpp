#include "PupilSummaryModel.h"

#include "RegisterFormat.h"

namespace registro {

PupilSummaryModel::PupilSummaryModel(QObject *parent) : ColumnTableModel(pupilColumns(), parent) {}

QVariant PupilSummaryModel::rowData(const PupilSummary &p, int, int role) const
{
    if (role == KeyRole) return p.key;
    if (role != Qt::ToolTipRole || p.records < 1) return {};
    if (p.records == 1)
        return QStringLiteral("%1 ha battuto il record una volta").arg(displayName(p.name));
    return QStringLiteral("%1 ha battuto il record %2 volte")
        .arg(displayName(p.name))
        .arg(p.records);
}

} // namespace registro
