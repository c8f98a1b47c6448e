#include "ScoreCharts.h"

#include "RegisterFormat.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHorizontalBarSeries>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace registro {

using records::ClassLogEntry;

namespace {

QChart *newChart(const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}

// A round upper end for a score axis, with ticks on whole numbers: one per answer up
// to 10, five steps above.
void setScoreRange(QValueAxis *axis, int highest)
{
    const int top = std::max(5, int(std::ceil(highest / 5.0)) * 5);
    axis->setRange(0, top);
    axis->setTickCount(top <= 10 ? top + 1 : 6);
    axis->setLabelFormat(QStringLiteral("%d"));
    axis->setTruncateLabels(false);
}

} // namespace

QChart *makeBestScoreChart(const QList<PupilSummary> &pupils)
{
    const qsizetype shown = std::min<qsizetype>(pupils.size(), MaxBars);
    QString title = QStringLiteral("Miglior punteggio di ogni alunno (risposte esatte)");
    if (pupils.size() > shown)
        title += QStringLiteral(" — primi %1 alunni su %2").arg(shown).arg(pupils.size());
    QChart *chart = newChart(title);
    if (shown == 0) {
        chart->setTitle(QStringLiteral("Nessuna partita da mostrare"));
        return chart;
    }

    auto *set = new QBarSet(QStringLiteral("Miglior punteggio"));
    QStringList names;
    int highest = 0;
    // Horizontal bars are drawn from the bottom up: add the list backwards so the
    // first pupil stands at the top.
    for (qsizetype i = shown - 1; i >= 0; --i) {
        set->append(pupils[i].bestScore);
        names << displayName(pupils[i].name);
        highest = std::max(highest, pupils[i].bestScore);
    }
    set->setColor(QColor(0x2e, 0x7d, 0x32));
    set->setLabelColor(Qt::black);
    auto *series = new QHorizontalBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    series->setBarWidth(0.7);
    chart->addSeries(series);

    auto *pupilAxis = new QBarCategoryAxis;
    pupilAxis->append(names);
    pupilAxis->setTruncateLabels(false); // a name cut to "…" tells nothing
    chart->addAxis(pupilAxis, Qt::AlignLeft);
    series->attachAxis(pupilAxis);
    auto *scoreAxis = new QValueAxis;
    setScoreRange(scoreAxis, highest + 1); // room for the label of the longest bar
    scoreAxis->setTitleText(QStringLiteral("Risposte esatte"));
    chart->addAxis(scoreAxis, Qt::AlignBottom);
    series->attachAxis(scoreAxis);
    return chart;
}

QChart *makeProgressChart(const QString &pupilName, const QList<ClassLogEntry> &games)
{
    QChart *chart = newChart(QStringLiteral("Andamento di %1: risposte esatte partita dopo partita")
                                 .arg(displayName(pupilName)));
    QList<const ClassLogEntry *> dated;
    for (const ClassLogEntry &e : games)
        if (e.date.isValid()) dated.append(&e);
    if (dated.isEmpty()) {
        chart->setTitle(QStringLiteral("Nessuna partita con data da mostrare"));
        return chart;
    }
    std::stable_sort(
        dated.begin(), dated.end(),
        [](const ClassLogEntry *a, const ClassLogEntry *b) { return a->date < b->date; });

    auto *series = new QLineSeries;
    series->setName(QStringLiteral("Risposte esatte"));
    series->setPointsVisible(true);
    series->setColor(QColor(0x15, 0x65, 0xc0));
    QPen pen = series->pen();
    pen.setWidth(2);
    series->setPen(pen);
    QList<QPointF> points;
    int highest = 0;
    for (qsizetype i = 0; i < dated.size();) {
        qsizetype end = i;
        while (end < dated.size() && dated[end]->date == dated[i]->date)
            ++end;
        const qint64 dayStart = dated[i]->date.startOfDay().toMSecsSinceEpoch();
        const qint64 count = end - i;
        for (qsizetype k = i; k < end; ++k) {
            const qint64 at = dayStart + 86400000LL * (k - i + 1) / (count + 1);
            points.append(QPointF(double(at), dated[k]->correct));
            highest = std::max(highest, dated[k]->correct);
        }
        i = end;
    }
    series->replace(points);
    chart->addSeries(series);

    auto *timeAxis = new QDateTimeAxis;
    timeAxis->setFormat(QStringLiteral("dd/MM/yy"));
    const QDateTime first = dated.front()->date.startOfDay();
    const QDateTime last = dated.back()->date.addDays(1).startOfDay();
    timeAxis->setRange(first, last);
    timeAxis->setTickCount(std::clamp<int>(int(first.daysTo(last)) + 1, 2, 7));
    timeAxis->setTitleText(QStringLiteral("Data"));
    timeAxis->setTruncateLabels(false);
    chart->addAxis(timeAxis, Qt::AlignBottom);
    series->attachAxis(timeAxis);
    auto *scoreAxis = new QValueAxis;
    setScoreRange(scoreAxis, highest);
    scoreAxis->setTitleText(QStringLiteral("Risposte esatte"));
    chart->addAxis(scoreAxis, Qt::AlignLeft);
    series->attachAxis(scoreAxis);
    return chart;
}

QImage renderChart(QChart *chart, const QSize &size)
{
    QGraphicsScene scene; // owns the chart from here on
    scene.addItem(chart);
    chart->resize(size);
    if (chart->layout()) chart->layout()->activate();
    // Twice the pixels, so lines and letters stay sharp on paper.
    constexpr qreal Sharpness = 2;
    QImage image(size * Sharpness, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(Sharpness);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), size), QRectF(QPointF(0, 0), size));
    return image;
}

} // namespace registro
