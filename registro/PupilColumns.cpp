#include "PupilColumns.h"

#include "PupilSummaryModel.h"
#include "RegisterFormat.h"

namespace registro {

namespace {
constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;

constexpr PupilColumn columns[] = {
    {u"Alunno", Left, Qt::AscendingOrder,
     [](const PupilSummary &p, const QLocale &) { return displayName(p.name); },
     [](const PupilSummary &p) { return QVariant(displayName(p.name)); }, nullptr},
    {u"Partite", Right, Qt::DescendingOrder,
     [](const PupilSummary &p, const QLocale &) { return QString::number(p.games); },
     [](const PupilSummary &p) { return QVariant(p.games); }, nullptr},
    {u"Miglior punteggio", Right, Qt::DescendingOrder,
     [](const PupilSummary &p, const QLocale &) { return QString::number(p.bestScore); },
     [](const PupilSummary &p) { return QVariant(p.bestScore); }, nullptr},
    {u"Precisione media", Right, Qt::DescendingOrder,
     [](const PupilSummary &p, const QLocale &l) { return formatAccuracy(p.meanAccuracy(), l); },
     [](const PupilSummary &p) { return QVariant(p.meanAccuracy()); },
     [] { return QStringLiteral("Media della precisione delle partite con almeno una risposta"); }},
    {u"Ultima partita", Left, Qt::DescendingOrder,
     [](const PupilSummary &p, const QLocale &l) { return formatDate(p.lastDate, {}, l); },
     [](const PupilSummary &p) { return QVariant(p.lastDate); }, nullptr},
};
static_assert(std::size(columns) == PupilSummaryModel::ColumnCount);

} // namespace

std::span<const PupilColumn> pupilColumns()
{
    return columns;
}

} // namespace registro
