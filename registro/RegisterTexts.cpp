#include "RegisterTexts.h"

#include "RegisterFormat.h"

#include <QStringList>

namespace registro {

using records::ClassLogEntry;

QString statusText(const StatusFacts &facts)
{
    if (!facts.directoryProblem.isEmpty()) return facts.directoryProblem;
    if (facts.noClasses)
        return QStringLiteral("Nessun registro di classe in questa cartella: un registro "
                              "compare quando finisce la prima partita di una classe.");
    QString status =
        facts.shown == 1
            ? QStringLiteral("1 partita mostrata su %1").arg(facts.all)
            : QStringLiteral("%1 partite mostrate su %2").arg(facts.shown).arg(facts.all);
    if (facts.warnings == 1)
        status += QStringLiteral(" · 1 avviso di lettura");
    else if (facts.warnings > 1)
        status += QStringLiteral(" · %1 avvisi di lettura").arg(facts.warnings);
    if (facts.lastRead.isValid())
        status += QStringLiteral(" · letto alle %1")
                      .arg(facts.lastRead.time().toString(QStringLiteral("HH:mm:ss")));
    return status;
}

QString filterDescription(const QString &name, const QDate &from, const QDate &to,
                          const QLocale &locale)
{
    QStringList filter;
    if (!name.isEmpty()) filter << QStringLiteral("nome che contiene «%1»").arg(name);
    if (from.isValid()) filter << QStringLiteral("dal %1").arg(formatDate(from, {}, locale));
    if (to.isValid()) filter << QStringLiteral("al %1").arg(formatDate(to, {}, locale));
    return filter.isEmpty()
               ? QStringLiteral("Tutte le partite del registro.")
               : QStringLiteral("Partite con %1.").arg(filter.join(QStringLiteral(", ")));
}

DateSpan dateSpan(const QList<ClassLogEntry> &games)
{
    DateSpan span;
    for (const ClassLogEntry &e : games) {
        if (!e.date.isValid()) continue;
        if (!span.first.isValid() || e.date < span.first) span.first = e.date;
        if (!span.last.isValid() || e.date > span.last) span.last = e.date;
    }
    return span;
}

QString bestScoresDescription(const QList<PupilSummary> &pupils, qsizetype bars)
{
    QStringList spoken;
    for (const PupilSummary &p : pupils.first(std::min(pupils.size(), bars)))
        spoken << QStringLiteral("%1 %2").arg(displayName(p.name)).arg(p.bestScore);
    return QStringLiteral("Miglior punteggio: %1").arg(spoken.join(QStringLiteral(", ")));
}

QString progressDescription(const QString &pupil, const QList<ClassLogEntry> &games)
{
    QStringList spoken;
    for (const ClassLogEntry &e : games.last(std::min<qsizetype>(games.size(), 20)))
        spoken << QString::number(e.correct);
    return QStringLiteral("%1: %2 partite; risposte esatte delle ultime: %3")
        .arg(pupil)
        .arg(games.size())
        .arg(spoken.join(QStringLiteral(", ")));
}

} // namespace registro
