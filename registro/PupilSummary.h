#pragma once

#include "records/ClassLogEntry.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QHash>
#include <QList>
#include <QLocale>

namespace registro {

// The games of one pupil, summed up.
struct PupilSummary {
    QString key;  // pupilKey() of the name
    QString name; // as written in the pupil's latest game
    int games = 0;
    int bestScore = 0; // most correct answers in one game
    int records = 0;   // games that beat the record
    QDate lastDate;    // invalid when no game had a readable date
    double accuracySum = 0;
    int accuracyGames = 0; // games with at least one answer

    // Mean of the accuracy of the games with answers; -1 when there were none.
    double meanAccuracy() const { return accuracyGames > 0 ? accuracySum / accuracyGames : -1; }
};

// Sums games up pupil by pupil, in any order.
class PupilSummaryBuilder
{
public:
    void add(const records::ClassLogEntry &entry);
    // One summary per pupil, in the order the pupils first appeared.
    QList<PupilSummary> result() const { return m_pupils; }

private:
    QHash<QString, int> m_index;
    QList<PupilSummary> m_pupils;
    QList<qint64> m_nameLine; // line of the game the shown name comes from
};

class PupilSummaryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Name, Games, BestScore, MeanAccuracy, LastDate, ColumnCount };
    static constexpr int ValueRole = Qt::UserRole;
    static constexpr int KeyRole = Qt::UserRole + 1;

    explicit PupilSummaryModel(QObject *parent = nullptr);

    void setLocale(const QLocale &locale) { m_locale = locale; }
    void setSummaries(QList<PupilSummary> pupils);
    const QList<PupilSummary> &summaries() const { return m_pupils; }

    static QString columnTitle(int column);
    QString cellText(const PupilSummary &pupil, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QLocale m_locale;
    QList<PupilSummary> m_pupils;
};

} // namespace registro
