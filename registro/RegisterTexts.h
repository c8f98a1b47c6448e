#pragma once

// The register's texts that are worked out from what it shows: the status line, the
// filter as the report describes it, the span of dates of a class and what assistive
// technology reads for the charts.

#include "PupilSummary.h"
#include "records/ClassLogEntry.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

namespace registro {

// What the status line is made from.
struct StatusFacts {
    QString directoryProblem; // empty when the data directory can be read
    bool noClasses = false;   // the directory holds no class log
    int shown = 0;            // games passing the filter
    int all = 0;              // games of the class
    qint64 warnings = 0;
    QDateTime lastRead; // invalid before the first read
};

// "12 partite mostrate su 20 · 1 avviso di lettura · letto alle 10:31:02"
QString statusText(const StatusFacts &facts);

// "Tutte le partite del registro." or "Partite con nome che contiene «an», dal 03/03/2025."
QString filterDescription(const QString &name, const QDate &from, const QDate &to,
                          const QLocale &locale);

// The first and the last day on which the class played; both invalid when no game
// has a date that could be read.
struct DateSpan {
    QDate first;
    QDate last;
};
DateSpan dateSpan(const QList<records::ClassLogEntry> &games);

// "Miglior punteggio: Anna 10, Luca 8": the first `bars` pupils, as the chart of the
// best scores shows them.
QString bestScoresDescription(const QList<PupilSummary> &pupils, qsizetype bars);
// "Anna: 4 partite; risposte esatte delle ultime: 7, 10, 4, 6": the last 20 at most.
QString progressDescription(const QString &pupil, const QList<records::ClassLogEntry> &games);

} // namespace registro
