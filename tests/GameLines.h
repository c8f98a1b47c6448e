#pragma once

#include "records/ClassLogWriter.h"
#include "records/SingleByteText.h"

// A game as the game itself writes it into a class log (its own writer, CR LF included).
inline records::GameSummary gameSummary(const QString &name, int correct, int wrong,
                                        const QString &left, const QString &date)
{
    records::GameSummary g;
    g.name = name;
    g.correctTitle = QStringLiteral("Risposte esatte");
    g.correct = QString::number(correct);
    g.wrongTitle = QStringLiteral("Risposte errate");
    g.wrong = QString::number(wrong);
    g.timeTitle = QStringLiteral("Tempo restante");
    g.timeLeft = left;
    g.date = date;
    return g;
}

// The line, CR LF included, the game writes for that game.
inline QByteArray gameLine(const QString &name, int correct, int wrong, const QString &date,
                           records::LogForm form = records::LogForm::RecordStands,
                           const QString &left = QStringLiteral("00:03:12"))
{
    return records::encodeLine(
        records::classLogLine(gameSummary(name, correct, wrong, left, date), form));
}

// Anna's game: 7 right, 2 wrong, 3 minutes 12 seconds left, on 15/04/2007.
inline records::GameSummary annasGame()
{
    return gameSummary(QStringLiteral("Anna"), 7, 2, QStringLiteral("00:03:12"),
                       QStringLiteral("15/04/2007"));
}
