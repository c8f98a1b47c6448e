#pragma once

// What a chart of the register shows, with no drawing in it: the texts, the values and
// the scales. ScoreCharts.h builds them; ChartLayout and paintChart() draw them.

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QString>

namespace registro {

// One horizontal bar: a pupil's name and a score.
struct ChartBar {
    QString label;
    int value = 0;
};

// One point of a line over time.
struct ChartPoint {
    QDateTime at;
    int value = 0;
};

// Whole numbers from 0 to `top`, with `ticks` evenly spaced ticks counting both ends.
struct ValueScale {
    int top = 5;
    int ticks = 6;
};

// From `from` to `to`, with `ticks` evenly spaced ticks counting both ends, each labelled
// with its time written in `format`.
struct TimeScale {
    QDateTime from;
    QDateTime to;
    int ticks = 2;
    QString format;
};

struct ChartData {
    // Above the chart; alone when there is nothing to show.
    QString title;
    QString valueTitle; // the axis of the scores
    QString timeTitle;  // the axis of the dates, on a line chart
    // Either bars, from top to bottom in this order, or the points of a line in time
    // order; neither when there is nothing to show.
    QList<ChartBar> bars;
    QList<ChartPoint> points;
    ValueScale values;
    TimeScale times;
    QColor color; // of the bars or of the line

    bool isEmpty() const { return bars.isEmpty() && points.isEmpty(); }
};

} // namespace registro
