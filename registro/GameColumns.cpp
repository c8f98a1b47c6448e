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

const ClassLogEntry &at(const GameTableModel &model, int row)
{
    return model.entry(row);
}

} // namespace

const std::array<GameColumn, GameColumnCount> &gameColumns()
{
    static const std::array<GameColumn, GameColumnCount> columns = {{
        {u"Nome", u"Nome", Left, Qt::AscendingOrder,
         [](const ClassLogEntry &e, const QLocale &) { return displayName(e.name); },
         [](const ClassLogEntry &e, const QLocale &) { return asText(e.name); },
         [](const ClassLogEntry &e) { return QVariant(e.name); },
         [](const GameTableModel &m, int row) { return double(m.nameRank(row)); }, nullptr},
        {u"Esatte", u"Esatte", Right, Qt::DescendingOrder,
         [](const ClassLogEntry &e, const QLocale &) { return QString::number(e.correct); },
         [](const ClassLogEntry &e, const QLocale &) { return QString::number(e.correct); },
         [](const ClassLogEntry &e) { return QVariant(e.correct); },
         [](const GameTableModel &m, int row) { return double(at(m, row).correct); }, nullptr},
        {u"Errate", u"Errate", Right, Qt::DescendingOrder,
         [](const ClassLogEntry &e, const QLocale &) { return QString::number(e.wrong); },
         [](const ClassLogEntry &e, const QLocale &) { return QString::number(e.wrong); },
         [](const ClassLogEntry &e) { return QVariant(e.wrong); },
         [](const GameTableModel &m, int row) { return double(at(m, row).wrong); }, nullptr},
        {u"Totale", u"Totale", Right, Qt::DescendingOrder,
         [](const ClassLogEntry &e, const QLocale &) { return QString::number(e.total()); },
         [](const ClassLogEntry &e, const QLocale &) { return QString::number(e.total()); },
         [](const ClassLogEntry &e) { return QVariant(e.total()); },
         [](const GameTableModel &m, int row) { return double(at(m, row).total()); }, nullptr},
        {u"Precisione", u"Precisione (%)", Right, Qt::DescendingOrder,
         [](const ClassLogEntry &e, const QLocale &l) { return formatAccuracy(e.accuracy(), l); },
         [](const ClassLogEntry &e, const QLocale &numbers) {
             return e.accuracy() < 0 ? QString() : numbers.toString(e.accuracy(), 'f', 1);
         },
         [](const ClassLogEntry &e) { return QVariant(e.accuracy()); },
         [](const GameTableModel &m, int row) { return at(m, row).accuracy(); },
         [] { return QStringLiteral("Risposte esatte su tutte le risposte date"); }},
        {u"Tempo impiegato", u"Tempo impiegato", Right, Qt::DescendingOrder,
         [](const ClassLogEntry &e, const QLocale &) { return formatDuration(e.secondsUsed()); },
         [](const ClassLogEntry &e, const QLocale &) {
             return records::clockText(e.secondsUsed(), records::ClockForm::Hours);
         },
         [](const ClassLogEntry &e) { return QVariant(e.secondsUsed()); },
         [](const GameTableModel &m, int row) { return double(at(m, row).secondsUsed()); },
         [] {
             return QStringLiteral("%1 minuti meno il tempo rimasto alla fine della partita")
                 .arg(records::GameMinutes);
         }},
        {u"Data", u"Data", Left, Qt::DescendingOrder,
         [](const ClassLogEntry &e, const QLocale &l) { return formatDate(e.date, e.dateText, l); },
         [](const ClassLogEntry &e, const QLocale &) {
             return e.date.isValid() ? e.date.toString(Qt::ISODate) : asText(e.dateText);
         },
         [](const ClassLogEntry &e) { return QVariant(e.date); },
         [](const GameTableModel &m, int row) { return double(at(m, row).date.toJulianDay()); },
         nullptr},
        {u"Record", u"Record", Centre, Qt::DescendingOrder,
         [](const ClassLogEntry &e, const QLocale &) { return yesNo(e.setRecord()); },
         [](const ClassLogEntry &e, const QLocale &) { return yesNo(e.setRecord()); },
         [](const ClassLogEntry &e) { return QVariant(e.setRecord()); },
         [](const GameTableModel &m, int row) { return double(at(m, row).setRecord()); },
         [] { return QStringLiteral("La partita ha battuto il record"); }},
    }};
    return columns;
}

} // namespace registro
