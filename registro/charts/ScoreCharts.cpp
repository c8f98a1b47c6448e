#include "ScoreCharts.h"

#include "ChartPainter.h"
#include "platform/Services.h"
#include "registro/RegisterFormat.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace registro {

using records::ClassLogEntry;

namespace {

const QString ScoreTitle = QStringLiteral("Risposte esatte");

// A round upper end for a score axis, with ticks on whole numbers: one per answer up
// to 10, five steps above.
ValueScale scoreScale(int highest)
{
    const int top = std::max(5, int(std::ceil(highest / 5.0)) * 5);
    return {top, top <= 10 ? top + 1 : 6};
}

} // namespace

ChartData makeBestScoreChart(const QList<PupilSummary> &pupils)
{
    ChartData chart;
    const qsizetype shown = std::min<qsizetype>(pupils.size(), MaxBars);
    if (shown == 0) {
        chart.title = QStringLiteral("Nessuna partita da mostrare");
        return chart;
    }
    chart.title = QStringLiteral("Miglior punteggio di ogni alunno (risposte esatte)");
    if (pupils.size() > shown)
        chart.title += QStringLiteral(" — primi %1 alunni su %2").arg(shown).arg(pupils.size());
    chart.valueTitle = ScoreTitle;
    chart.color = QColor(0x2e, 0x7d, 0x32);
    int highest = 0;
    for (const PupilSummary &p : pupils.first(shown)) {
        chart.bars.append({displayName(p.name), p.bestScore});
        highest = std::max(highest, p.bestScore);
    }
    chart.values = scoreScale(highest + 1); // room for the label of the longest bar
    return chart;
}

ChartData makeProgressChart(const QString &pupilName, const QList<ClassLogEntry> &games)
{
    ChartData chart;
    QList<const ClassLogEntry *> dated;
    for (const ClassLogEntry &e : games)
        if (e.date.isValid()) dated.append(&e);
    if (dated.isEmpty()) {
        chart.title = QStringLiteral("Nessuna partita con data da mostrare");
        return chart;
    }
    chart.title = QStringLiteral("Andamento di %1: risposte esatte partita dopo partita")
                      .arg(displayName(pupilName));
    chart.valueTitle = ScoreTitle;
    chart.timeTitle = QStringLiteral("Data");
    chart.color = QColor(0x15, 0x65, 0xc0);
    std::stable_sort(
        dated.begin(), dated.end(),
        [](const ClassLogEntry *a, const ClassLogEntry *b) { return a->date < b->date; });

    int highest = 0;
    for (qsizetype i = 0; i < dated.size();) {
        qsizetype end = i;
        while (end < dated.size() && dated[end]->date == dated[i]->date)
            ++end;
        const QDateTime dayStart = dated[i]->date.startOfDay();
        const qint64 count = end - i;
        for (qsizetype k = i; k < end; ++k) {
            const qint64 at = 86400000LL * (k - i + 1) / (count + 1);
            chart.points.append({dayStart.addMSecs(at), dated[k]->correct});
            highest = std::max(highest, dated[k]->correct);
        }
        i = end;
    }
    chart.values = scoreScale(highest);
    chart.times.from = dated.front()->date.startOfDay();
    chart.times.to = dated.back()->date.addDays(1).startOfDay();
    chart.times.ticks = std::clamp<int>(int(chart.times.from.daysTo(chart.times.to)) + 1, 2, 7);
    chart.times.format = platform::shortDateFormat(QLocale(), platform::Year::TwoDigits);
    return chart;
}

QImage renderChart(const ChartData &chart, const QSize &size)
{
    // Twice the pixels, so lines and letters stay sharp on paper.
    constexpr qreal Sharpness = 2;
    QImage image(size * Sharpness, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(Sharpness);
    image.fill(Qt::white);
    QPalette paper;
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    QPainter painter(&image);
    paintChart(&painter, QRectF(QPointF(0, 0), size), chart, QGuiApplication::font(), paper);
    return image;
}

} // namespace registro
