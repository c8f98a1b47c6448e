#include "ChartPainter.h"

#include "ChartLayout.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPalette>

#include <cmath>

namespace registro {

namespace {

constexpr qreal MarkerRadius = 3.5;
constexpr qreal LineWidth = 2;

QColor mix(const QColor &from, const QColor &to, qreal share)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

// Lines are one device pixel wide, two on a screen of twice the pixels, and lie on the
// middle of a row or column of device pixels; bars go from edge to edge of device pixels.
qreal hairline(qreal ratio)
{
    return std::max<qreal>(1, std::round(ratio)) / ratio;
}

qreal onPixels(qreal at, qreal ratio)
{
    const qreal device = at * ratio;
    const bool odd = int(std::max<qreal>(1, std::round(ratio))) % 2 == 1;
    return (odd ? std::floor(device) + 0.5 : std::round(device)) / ratio;
}

QRectF onPixelEdges(const QRectF &r, qreal ratio)
{
    const auto edge = [ratio](qreal at) { return std::round(at * ratio) / ratio; };
    return QRectF(QPointF(edge(r.left()), edge(r.top())),
                  QPointF(edge(r.right()), edge(r.bottom())));
}

void drawText(QPainter *painter, const ChartLayout::Text &text)
{
    if (!text.turned) {
        painter->drawText(text.rect, text.flags, text.text);
        return;
    }
    painter->save();
    painter->translate(text.rect.center());
    painter->rotate(-90);
    const QSizeF upright = text.rect.size().transposed();
    painter->drawText(QRectF(QPointF(-upright.width() / 2, -upright.height() / 2), upright),
                      text.flags, text.text);
    painter->restore();
}

} // namespace

void paintChart(QPainter *painter, const QRectF &area, const ChartData &chart, const QFont &font,
                const QPalette &palette)
{
    const ChartLayout layout(chart, font, area, painter->device());
    const qreal ratio = painter->device()->devicePixelRatioF();
    const auto line = [ratio](qreal at) { return onPixels(at, ratio); };
    const QColor ink = palette.color(QPalette::Text);
    const QColor paper = palette.color(QPalette::Base);
    const QRectF plot = layout.plot();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);

    if (!chart.isEmpty()) {
        // The grid across the plot, then the axes and their ticks over it.
        const bool bars = !chart.bars.isEmpty();
        const qreal left = line(plot.left());
        const qreal bottom = line(plot.bottom());
        painter->setPen(QPen(mix(paper, ink, 0.15), hairline(ratio), Qt::SolidLine, Qt::FlatCap));
        for (qreal x : bars ? layout.valueTicks() : layout.timeTicks())
            painter->drawLine(QPointF(line(x), plot.top()), QPointF(line(x), bottom));
        if (!bars)
            for (qreal y : layout.valueTicks())
                painter->drawLine(QPointF(left, line(y)), QPointF(plot.right(), line(y)));

        painter->setPen(Qt::NoPen);
        painter->setBrush(chart.color);
        for (const QRectF &bar : layout.bars())
            painter->drawRect(onPixelEdges(bar, ratio));

        painter->setPen(QPen(mix(paper, ink, 0.6), hairline(ratio), Qt::SolidLine, Qt::FlatCap));
        painter->drawLine(QPointF(left, plot.top()), QPointF(left, bottom));
        painter->drawLine(QPointF(left, bottom), QPointF(plot.right(), bottom));
        for (qreal x : bars ? layout.valueTicks() : layout.timeTicks())
            painter->drawLine(QPointF(line(x), bottom),
                              QPointF(line(x), bottom + ChartLayout::TickLength));
        if (!bars)
            for (qreal y : layout.valueTicks())
                painter->drawLine(QPointF(left - ChartLayout::TickLength, line(y)),
                                  QPointF(left, line(y)));

        if (!layout.points().isEmpty()) {
            painter->setPen(
                QPen(chart.color, LineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter->setBrush(Qt::NoBrush);
            painter->drawPolyline(layout.points().constData(), int(layout.points().size()));
            painter->setPen(Qt::NoPen);
            painter->setBrush(chart.color);
            for (const QPointF &p : layout.points())
                painter->drawEllipse(p, MarkerRadius, MarkerRadius);
        }
    }

    for (const ChartLayout::Text &text : layout.texts()) {
        painter->setFont(ChartLayout::fontOf(text.style, font));
        painter->setPen(text.style == ChartLayout::Style::ValueOnBar ? QColor(Qt::white) : ink);
        drawText(painter, text);
    }
    painter->restore();
}

} // namespace registro
