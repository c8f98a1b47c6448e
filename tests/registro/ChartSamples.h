#pragma once

// Pupils and games as the charts' tests make them.

#include "records/ClassLogEntry.h"
#include "registro/PupilSummary.h"

#include <QStringList>

namespace chartsamples {

// "Alunno 1", "Alunno 2"… (each name `nameLength` letters longer), with these best scores.
inline QList<registro::PupilSummary> pupils(const QList<int> &bestScores, int nameLength = 0)
{
    QList<registro::PupilSummary> list;
    for (int score : bestScores) {
        registro::PupilSummary p;
        p.name = QStringLiteral("Alunno %1").arg(list.size() + 1);
        p.name += QString(nameLength, QLatin1Char('x'));
        p.key = p.name.toLower();
        p.bestScore = score;
        list << p;
    }
    return list;
}

// "04/03/2025 7": a game on that day with 7 right; no date: a date that could not be read.
inline QList<records::ClassLogEntry> games(const QStringList &played)
{
    QList<records::ClassLogEntry> list;
    for (const QString &game : played) {
        records::ClassLogEntry e;
        e.name = QStringLiteral("Anna");
        e.date = QDate::fromString(game.section(' ', 0, 0), QStringLiteral("dd/MM/yyyy"));
        e.correct = game.section(' ', -1).toInt();
        list << e;
    }
    return list;
}

// `count` scores from 0 to `top`, in no order.
inline QList<int> scores(int count, int top)
{
    QList<int> list;
    for (int i = 0; i < count; ++i)
        list << (i * 7) % (top + 1);
    return list;
}

} // namespace chartsamples
