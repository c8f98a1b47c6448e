#pragma once

#include <QDate>
#include <QString>

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

} // namespace registro
