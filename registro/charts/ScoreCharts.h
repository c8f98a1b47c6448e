#pragma once

#include "ChartData.h"
#include "records/ClassLogEntry.h"
#include "registro/PupilSummary.h"

#include <QImage>
#include <QList>
#include <QSize>

namespace registro {

// At most this many pupils get a bar; a class is far smaller, a odd log may not be.
inline constexpr int MaxBars = 60;

// Best score of each pupil as horizontal bars, names from top to bottom in the
// order given.
ChartData makeBestScoreChart(const QList<PupilSummary> &pupils);

// One pupil's correct answers game after game, over the dates they were played.
// Games of the same day are spread across that day in the order they were played.
ChartData makeProgressChart(const QString &pupilName, const QList<records::ClassLogEntry> &games);

// Draws `chart` on a white image of `size` (device-independent pixels, at twice the
// resolution), for printing.
QImage renderChart(const ChartData &chart, const QSize &size);

} // namespace registro
