#include "PupilSummary.h"

#include "RegisterFormat.h"

namespace registro {

using records::ClassLogEntry;

void PupilSummaryBuilder::add(const ClassLogEntry &e)
{
    const QString key = pupilKey(e.name);
    auto found = m_index.constFind(key);
    if (found == m_index.cend()) {
        found = m_index.insert(key, int(m_pupils.size()));
        PupilSummary fresh;
        fresh.key = key;
        fresh.name = e.name;
        m_pupils.append(fresh);
        m_nameLine.append(e.lineNumber);
    }
    const int i = *found;
    PupilSummary &p = m_pupils[i];
    if (e.lineNumber > m_nameLine[i]) {
        p.name = e.name;
        m_nameLine[i] = e.lineNumber;
    }
    if (p.games == 0 || e.correct > p.bestScore) p.bestScore = e.correct;
    ++p.games;
    if (e.setRecord()) ++p.records;
    if (e.date.isValid() && (!p.lastDate.isValid() || e.date > p.lastDate)) p.lastDate = e.date;
    if (e.accuracy() >= 0) {
        p.accuracySum += e.accuracy();
        ++p.accuracyGames;
    }
}

PupilSummaryModel::PupilSummaryModel(QObject *parent) : QAbstractTableModel(parent) {}

void PupilSummaryModel::setSummaries(QList<PupilSummary> pupils)
{
    beginResetModel();
    m_pupils = std::move(pupils);
    endResetModel();
}

QString PupilSummaryModel::columnTitle(int column)
{
    switch (column) {
    case Name:
        return QStringLiteral("Alunno");
    case Games:
        return QStringLiteral("Partite");
    case BestScore:
        return QStringLiteral("Miglior punteggio");
    case MeanAccuracy:
        return QStringLiteral("Precisione media");
    case LastDate:
        return QStringLiteral("Ultima partita");
    }
    return {};
}

QString PupilSummaryModel::cellText(const PupilSummary &p, int column) const
{
    switch (column) {
    case Name:
        return displayName(p.name);
    case Games:
        return QString::number(p.games);
    case BestScore:
        return QString::number(p.bestScore);
    case MeanAccuracy:
        return formatAccuracy(p.meanAccuracy(), m_locale);
    case LastDate:
        return formatDate(p.lastDate, QString(), m_locale);
    }
    return {};
}

int PupilSummaryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_pupils.size());
}

int PupilSummaryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PupilSummaryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_pupils.size()) return {};
    const PupilSummary &p = m_pupils.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(p, index.column());
    case Qt::TextAlignmentRole:
        return index.column() == Name || index.column() == LastDate
                   ? QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole:
        if (p.records == 1)
            return QStringLiteral("%1 ha battuto il record una volta").arg(displayName(p.name));
        if (p.records > 1)
            return QStringLiteral("%1 ha battuto il record %2 volte")
                .arg(displayName(p.name))
                .arg(p.records);
        return {};
    case KeyRole:
        return p.key;
    case ValueRole:
        switch (index.column()) {
        case Name:
            return displayName(p.name);
        case Games:
            return p.games;
        case BestScore:
            return p.bestScore;
        case MeanAccuracy:
            return p.meanAccuracy();
        case LastDate:
            return p.lastDate;
        }
    }
    return {};
}

QVariant PupilSummaryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return columnTitle(section);
    if (orientation == Qt::Horizontal && role == Qt::InitialSortOrderRole)
        return section == Name ? Qt::AscendingOrder : Qt::DescendingOrder;
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole && section == MeanAccuracy)
        return QStringLiteral("Media della precisione delle partite con almeno una risposta");
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace registro
