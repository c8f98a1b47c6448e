#pragma once

#include "ChartData.h"

#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>

class QPaintDevice;

namespace registro {

// Where each part of a chart goes in a rectangle, its texts measured in the font they are
// drawn with on the device they are drawn on. Nothing leaves the rectangle, nor is a text
// given less room than it takes, when the rectangle is at least as big as a chart needs
// (ChartView's minimumSizeHint()). Labels that would overlap are thinned out evenly.
class ChartLayout
{
public:
    enum class Style {
        Title,      // the chart's title, or its only text when there is nothing to show
        AxisTitle,  // bold
        Label,      // a name, a tick's value or date, a value beyond the end of its bar
        ValueOnBar, // a value inside the end of its bar
    };
    struct Text {
        QString text;
        QRectF rect; // the room it takes on the chart
        int flags;   // alignment and wrapping, as QPainter::drawText() takes them
        Style style;
        bool turned = false; // read from the bottom up
    };

    // Of the ticks outside the plot.
    static constexpr qreal TickLength = 4;

    ChartLayout(const ChartData &chart, const QFont &font, const QRectF &area,
                const QPaintDevice *device = nullptr);

    static QFont fontOf(Style style, const QFont &font);

    // Empty when there is nothing to show.
    QRectF plot() const { return m_plot; }
    const QList<Text> &texts() const { return m_texts; }
    const QList<QRectF> &bars() const { return m_bars; }
    const QList<QPointF> &points() const { return m_points; }
    // Along the score axis: x on a bar chart, y on a line chart.
    const QList<qreal> &valueTicks() const { return m_valueTicks; }
    // x of the date ticks of a line chart.
    const QList<qreal> &timeTicks() const { return m_timeTicks; }

private:
    void layOutBars(const ChartData &chart, const QRectF &room);
    void layOutLine(const ChartData &chart, const QRectF &room);
    // Under the plot: the labels centred on their ticks, then the axis title.
    qreal bottomAxisHeight() const;
    void addBottomAxis(const QStringList &labels, const QList<qreal> &ticks, const QString &title);

    QFont m_font;
    const QPaintDevice *m_device;
    QRectF m_plot;
    QList<Text> m_texts;
    QList<QRectF> m_bars;
    QList<QPointF> m_points;
    QList<qreal> m_valueTicks;
    QList<qreal> m_timeTicks;
};

} // namespace registro
