#include "GameTableModel.h"

#include "RegisterFormat.h"

#include <QCollator>
#include <QHash>

#include <algorithm>

namespace registro {

using records::ClassLogEntry;

GameTableModel::GameTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void GameTableModel::setLocale(const QLocale &locale)
{
    m_locale = locale;
    rankNames();
    if (!m_entries.isEmpty()) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void GameTableModel::setEntries(QList<ClassLogEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    rankNames();
    endResetModel();
}

void GameTableModel::replaceTail(qsizetype keep, QList<ClassLogEntry> more)
{
    keep = std::clamp<qsizetype>(keep, 0, m_entries.size());
    if (keep < m_entries.size()) {
        beginRemoveRows({}, int(keep), int(m_entries.size() - 1));
        m_entries.resize(keep);
        m_nameRank.resize(keep);
        endRemoveRows();
    }
    if (more.isEmpty()) return;
    const int first = int(m_entries.size());
    beginInsertRows({}, first, int(first + more.size() - 1));
    m_entries.append(std::move(more));
    rankNames();
    endInsertRows();
}

void GameTableModel::rankNames()
{
    // Sorting by name compares ranks: a class has few names and many games.
    QHash<QString, int> rank;
    for (const ClassLogEntry &e : std::as_const(m_entries))
        rank.insert(e.name, 0);
    QStringList names = rank.keys();
    QCollator collator(m_locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), [&](const QString &a, const QString &b) {
        const int c = collator.compare(displayName(a), displayName(b));
        return c != 0 ? c < 0 : a < b;
    });
    for (int i = 0; i < names.size(); ++i)
        rank[names[i]] = i;
    m_nameRank.resize(m_entries.size());
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        m_nameRank[i] = rank.value(m_entries[i].name);
}

QString GameTableModel::columnTitle(int column)
{
    switch (column) {
    case Name:
        return QStringLiteral("Nome");
    case Correct:
        return QStringLiteral("Esatte");
    case Wrong:
        return QStringLiteral("Errate");
    case Total:
        return QStringLiteral("Totale");
    case Accuracy:
        return QStringLiteral("Precisione");
    case TimeUsed:
        return QStringLiteral("Tempo impiegato");
    case Date:
        return QStringLiteral("Data");
    case Record:
        return QStringLiteral("Record");
    }
    return {};
}

QString GameTableModel::cellText(const ClassLogEntry &e, int column) const
{
    switch (column) {
    case Name:
        return displayName(e.name);
    case Correct:
        return QString::number(e.correct);
    case Wrong:
        return QString::number(e.wrong);
    case Total:
        return QString::number(e.total());
    case Accuracy:
        return formatAccuracy(e.accuracy(), m_locale);
    case TimeUsed:
        return formatDuration(e.secondsUsed());
    case Date:
        return formatDate(e.date, e.dateText, m_locale);
    case Record:
        return yesNo(e.setRecord());
    }
    return {};
}

int GameTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int GameTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant GameTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size()) return {};
    const ClassLogEntry &e = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(e, index.column());
    case Qt::ToolTipRole:
        if (index.column() == Date && !e.date.isValid())
            return QStringLiteral("Data non riconosciuta (riga %1 del file)").arg(e.lineNumber);
        return QStringLiteral("Riga %1 del file").arg(e.lineNumber);
    case Qt::TextAlignmentRole:
        if (index.column() == Name || index.column() == Date)
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        if (index.column() == Record) return QVariant::fromValue(Qt::AlignCenter);
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case ValueRole:
        switch (index.column()) {
        case Name:
            return e.name;
        case Correct:
            return e.correct;
        case Wrong:
            return e.wrong;
        case Total:
            return e.total();
        case Accuracy:
            return e.accuracy();
        case TimeUsed:
            return e.secondsUsed();
        case Date:
            return e.date;
        case Record:
            return e.setRecord();
        }
        return {};
    case LineRole:
        return e.lineNumber;
    }
    return {};
}

QVariant GameTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) return columnTitle(section);
    // Scores, dates and records read best from the top: highest, latest first.
    if (role == Qt::InitialSortOrderRole)
        return section == Name ? Qt::AscendingOrder : Qt::DescendingOrder;
    if (role == Qt::ToolTipRole) {
        switch (section) {
        case Accuracy:
            return QStringLiteral("Risposte esatte su tutte le risposte date");
        case TimeUsed:
            return QStringLiteral("15 minuti meno il tempo rimasto alla fine della partita");
        case Record:
            return QStringLiteral("La partita ha battuto il record");
        }
    }
    return {};
}

} // namespace registro
