#include "GameColumns.h"

#include "GameTableModel.h"
#include "RegisterFormat.h"
#include "records/LogDates.h"

namespace registro {

using records::ClassLogEntry;

namespace {

constexpr Qt::Alignment Left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment Centre = Qt::AlignCenter;

// A name or an unreadable date is the player's own text: one that starts like a formula would
// be run by a spreadsheet, so it is written as text.
QString asText(const QString &text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front())) return u'\'' + text;
    return text;
}

constexpr GameColumn columns[] = {
    {u"Nome", nullptr, Left, Qt::AscendingOrder,
     [](const ClassLogEntry &e, const QLocale &) { return displayName(e.name); },
     [](const ClassLogEntry &e, const QLocale &) { return asText(e.name); },
     [](const ClassLogEntry &e) { return QVariant(displayName(e.name)); }, nullptr},
    {u"Esatte", nullptr, Right, Qt::DescendingOrder,
     [](const ClassLogEntry &e, const QLocale &) { return QString::number(e.correct); }, nullptr,
     [](const ClassLogEntry &e) { return QVariant(e.correct); }, nullptr},
    {u"Errate", nullptr, Right, Qt::DescendingOrder,
     [](const ClassLogEntry &e, const QLocale &) { return QString::number(e.wrong); }, nullptr,
     [](const ClassLogEntry &e) { return QVariant(e.wrong); }, nullptr},
    {u"Totale", nullptr, Right, Qt::DescendingOrder,
     [](const ClassLogEntry &e, const QLocale &) { return QString::number(e.total()); }, nullptr,
     [](const ClassLogEntry &e) { return QVariant(e.total()); }, nullptr},
    {u"Precisione", u"Precisione (%)", Right, Qt::DescendingOrder,
     [](const ClassLogEntry &e, const QLocale &l) { return formatAccuracy(e.accuracy(), l); },
     [](const ClassLogEntry &e, const QLocale &numbers) {
         return e.accuracy() < 0 ? QString() : numbers.toString(e.accuracy(), 'f', 1);
     },
     [](const ClassLogEntry &e) { return QVariant(e.accuracy()); },
     [] { return QStringLiteral("Risposte esatte su tutte le risposte date"); }},
    {u"Tempo impiegato", nullptr, Right, Qt::DescendingOrder,
     [](const ClassLogEntry &e, const QLocale &) { return formatDuration(e.secondsUsed()); },
     [](const ClassLogEntry &e, const QLocale &) {
         return records::clockText(e.secondsUsed(), records::ClockForm::Hours);
     },
     [](const ClassLogEntry &e) { return QVariant(e.secondsUsed()); },
     [] {
         return QStringLiteral("%1 minuti meno il tempo rimasto alla fine della partita")
             .arg(records::GameMinutes);
     }},
    {u"Data", nullptr, Left, Qt::DescendingOrder,
     [](const ClassLogEntry &e, const QLocale &l) { return formatDate(e.date, e.dateText, l); },
     [](const ClassLogEntry &e, const QLocale &) {
         return e.date.isValid() ? e.date.toString(Qt::ISODate) : asText(e.dateText);
     },
     [](const ClassLogEntry &e) { return QVariant(e.date); }, nullptr},
    // The value is a number: the sort compares numbers and dates as such, anything else as text.
    {u"Record", nullptr, Centre, Qt::DescendingOrder,
     [](const ClassLogEntry &e, const QLocale &) { return yesNo(e.setRecord()); }, nullptr,
     [](const ClassLogEntry &e) { return QVariant(int(e.setRecord())); },
     [] { return QStringLiteral("La partita ha battuto il record"); }},
};
static_assert(std::size(columns) == GameTableModel::ColumnCount);

} // namespace

std::span<const GameColumn> gameColumns()
{
    return columns;
}

} // namespace registro
