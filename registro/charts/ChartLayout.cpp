#include "ChartLayout.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace registro {

namespace {

constexpr qreal Margin = 6;         // around the whole chart
constexpr qreal Gap = 6;            // between a text and what it stands beside
constexpr qreal Pad = 4;            // between a value and the end of its bar
constexpr qreal BarShare = 0.7;     // of each bar's band, the rest is space between bars
constexpr qreal MaxNameShare = 0.4; // of the width, for the pupils' names

// Sizes are rounded up to whole pixels: drawText() cuts what does not fit its rectangle.
qreal widthOf(const QFontMetricsF &metrics, const QString &text)
{
    return std::ceil(metrics.horizontalAdvance(text));
}

qreal lineHeight(const QFontMetricsF &metrics)
{
    return std::ceil(metrics.height());
}

// Every how many of a row of labels `spacing` apart one is shown, so that the shown
// ones are at least `room` apart.
int stride(qreal spacing, qreal room)
{
    if (spacing >= room) return 1;
    return spacing > 0 ? int(std::ceil(room / spacing)) : std::numeric_limits<int>::max();
}

// `ticks` evenly spaced positions from `from` to `to`, both included.
QList<qreal> spread(qreal from, qreal to, int ticks)
{
    QList<qreal> positions;
    for (int i = 0; i < ticks; ++i)
        positions << from + (to - from) * i / std::max(1, ticks - 1);
    return positions;
}

QStringList valueLabels(const ValueScale &values)
{
    QStringList labels;
    for (int i = 0; i < values.ticks; ++i)
        labels << QString::number(values.top * i / std::max(1, values.ticks - 1));
    return labels;
}

qreal widest(const QFontMetricsF &metrics, const QStringList &texts)
{
    qreal width = 0;
    for (const QString &text : texts)
        width = std::max(width, widthOf(metrics, text));
    return width;
}

QRectF between(qreal left, qreal top, qreal right, qreal bottom)
{
    return QRectF(left, top, std::max<qreal>(0, right - left), std::max<qreal>(0, bottom - top));
}

} // namespace

ChartLayout::ChartLayout(const ChartData &chart, const QFont &font, const QRectF &area,
                         const QPaintDevice *device)
    : m_font(font), m_device(device)
{
    const QRectF inner = area.adjusted(Margin, Margin, -Margin, -Margin);
    // A long title wraps rather than being cut, within a word too if one is too long.
    const QFontMetricsF metrics(fontOf(Style::Title, font), device);
    int wrapped = Qt::TextWordWrap;
    const QRectF titleRoom(inner.left(), inner.top(), inner.width(), 1e6);
    if (metrics.boundingRect(titleRoom, wrapped, chart.title).width() > inner.width())
        wrapped = Qt::TextWrapAnywhere;
    if (chart.isEmpty()) {
        m_texts.append({chart.title, inner, Qt::AlignCenter | wrapped, Style::Title});
        return;
    }
    wrapped |= Qt::AlignHCenter | Qt::AlignTop;
    const qreal titleHeight =
        std::ceil(metrics.boundingRect(titleRoom, wrapped, chart.title).height());
    m_texts.append({chart.title, QRectF(inner.left(), inner.top(), inner.width(), titleHeight),
                    wrapped, Style::Title});
    const QRectF room = inner.adjusted(0, titleHeight + Gap, 0, 0);
    if (chart.bars.isEmpty())
        layOutLine(chart, room);
    else
        layOutBars(chart, room);
}

QFont ChartLayout::fontOf(Style style, const QFont &font)
{
    QFont styled = font;
    styled.setBold(style == Style::AxisTitle);
    return styled;
}

qreal ChartLayout::bottomAxisHeight() const
{
    const QFontMetricsF metrics(m_font, m_device);
    const QFontMetricsF bold(fontOf(Style::AxisTitle, m_font), m_device);
    return TickLength + Gap / 2 + lineHeight(metrics) + Gap / 2 + lineHeight(bold);
}

void ChartLayout::addBottomAxis(const QStringList &labels, const QList<qreal> &ticks,
                                const QString &title)
{
    const QFontMetricsF metrics(m_font, m_device);
    const qreal height = lineHeight(metrics);
    const qreal spacing = ticks.size() > 1 ? ticks[1] - ticks[0] : m_plot.width();
    const int every = stride(spacing, widest(metrics, labels) + Gap);
    const qreal top = m_plot.bottom() + TickLength + Gap / 2;
    for (qsizetype i = 0; i < labels.size(); i += every) {
        const qreal width = widthOf(metrics, labels[i]);
        m_texts.append({labels[i], QRectF(ticks[i] - width / 2, top, width, height),
                        Qt::AlignCenter, Style::Label});
    }

    const QFontMetricsF bold(fontOf(Style::AxisTitle, m_font), m_device);
    const qreal width = widthOf(bold, title);
    m_texts.append(
        {title,
         QRectF(m_plot.center().x() - width / 2, top + height + Gap / 2, width, lineHeight(bold)),
         Qt::AlignCenter, Style::AxisTitle});
}

void ChartLayout::layOutBars(const ChartData &chart, const QRectF &room)
{
    const QFontMetricsF metrics(m_font, m_device);
    const qreal height = lineHeight(metrics);
    const QStringList values = valueLabels(chart.values);
    qreal nameWidth = 0;
    for (const ChartBar &bar : chart.bars)
        nameWidth = std::max(nameWidth, widthOf(metrics, bar.label));
    nameWidth = std::min(nameWidth, std::floor(room.width() * MaxNameShare));

    const qsizetype count = chart.bars.size();
    qreal top = room.top();
    qreal bottom = room.bottom() - bottomAxisHeight();
    // Bars thinner than a line: the names of the first and the last stick out of the plot
    // by up to half a line.
    if ((bottom - top) / count < height) {
        top += height / 2;
        bottom -= height / 2;
    }
    m_plot = between(room.left() + std::max(nameWidth + Gap, widthOf(metrics, values.first()) / 2),
                     top, room.right() - widthOf(metrics, values.last()) / 2, bottom);

    const qreal band = m_plot.height() / count;
    const int every = stride(band, height);
    const qreal scale = m_plot.width() / std::max(1, chart.values.top);
    for (qsizetype i = 0; i < count; ++i) {
        const ChartBar &bar = chart.bars[i];
        const qreal middle = m_plot.top() + band * (i + 0.5);
        const QRectF rect(m_plot.left(), middle - band * BarShare / 2,
                          scale * std::clamp(bar.value, 0, chart.values.top), band * BarShare);
        m_bars.append(rect);
        if (i % every != 0) continue;

        m_texts.append({metrics.elidedText(bar.label, Qt::ElideRight, nameWidth),
                        QRectF(room.left(), middle - height / 2, nameWidth, height),
                        Qt::AlignRight | Qt::AlignVCenter, Style::Label});
        const QString value = QString::number(bar.value);
        const qreal width = widthOf(metrics, value);
        if (rect.width() >= width + 2 * Pad)
            m_texts.append({value,
                            QRectF(rect.right() - Pad - width, middle - height / 2, width, height),
                            Qt::AlignCenter, Style::ValueOnBar});
        else
            m_texts.append({value, QRectF(rect.right() + Pad, middle - height / 2, width, height),
                            Qt::AlignCenter, Style::Label});
    }
    m_valueTicks = spread(m_plot.left(), m_plot.right(), chart.values.ticks);
    addBottomAxis(values, m_valueTicks, chart.valueTitle);
}

void ChartLayout::layOutLine(const ChartData &chart, const QRectF &room)
{
    const QFontMetricsF metrics(m_font, m_device);
    const QFontMetricsF bold(fontOf(Style::AxisTitle, m_font), m_device);
    const qreal height = lineHeight(metrics);
    const QStringList values = valueLabels(chart.values);
    const qreal valueWidth = widest(metrics, values);
    const qint64 from = chart.times.from.toMSecsSinceEpoch();
    const qint64 span = std::max<qint64>(1, chart.times.to.toMSecsSinceEpoch() - from);
    const int timeTicks = std::max(2, chart.times.ticks);
    QStringList dates;
    for (int i = 0; i < timeTicks; ++i)
        dates << QDateTime::fromMSecsSinceEpoch(from + span * i / (timeTicks - 1))
                     .toString(chart.times.format);

    // From the left: the axis title turned, the scores, their ticks.
    const qreal titleWidth = lineHeight(bold);
    const qreal left = room.left() + std::max(titleWidth + Gap + valueWidth + Gap / 2 + TickLength,
                                              widthOf(metrics, dates.first()) / 2);
    // The top score is centred on the top edge.
    m_plot =
        between(left, room.top() + height / 2, room.right() - widthOf(metrics, dates.last()) / 2,
                room.bottom() - bottomAxisHeight());

    m_valueTicks = spread(m_plot.bottom(), m_plot.top(), chart.values.ticks);
    const qreal spacing = chart.values.ticks > 1 ? m_valueTicks[0] - m_valueTicks[1] : 0;
    for (qsizetype i = 0; i < values.size(); i += stride(spacing, height))
        m_texts.append({values[i],
                        QRectF(m_plot.left() - TickLength - Gap / 2 - valueWidth,
                               m_valueTicks[i] - height / 2, valueWidth, height),
                        Qt::AlignRight | Qt::AlignVCenter, Style::Label});
    const qreal length = widthOf(bold, chart.valueTitle);
    const qreal titleTop = std::clamp(m_plot.center().y() - length / 2, room.top(),
                                      std::max(room.top(), room.bottom() - length));
    m_texts.append({chart.valueTitle, QRectF(room.left(), titleTop, titleWidth, length),
                    Qt::AlignCenter, Style::AxisTitle, true});

    const int top = std::max(1, chart.values.top);
    for (const ChartPoint &p : chart.points)
        m_points.append(
            QPointF(m_plot.left() + m_plot.width() * qreal(p.at.toMSecsSinceEpoch() - from) / span,
                    m_plot.bottom() - m_plot.height() * std::clamp(p.value, 0, top) / top));
    m_timeTicks = spread(m_plot.left(), m_plot.right(), timeTicks);
    addBottomAxis(dates, m_timeTicks, chart.timeTitle);
}

} // namespace registro
