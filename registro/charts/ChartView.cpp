#include "ChartView.h"

#include "ChartAccessible.h"
#include "ChartPainter.h"

#include <QAccessible>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace registro {

ChartView::ChartView(QWidget *parent) : QFrame(parent)
{
    static const bool accessible = [] {
        QAccessible::installFactory(&ChartAccessible::create);
        return true;
    }();
    Q_UNUSED(accessible);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    // Reached with Tab, so that a screen reader reads it.
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ChartView::setChart(const ChartData &chart)
{
    const bool retitled = chart.title != m_chart.title;
    const bool resized = chart.bars.size() != m_chart.bars.size();
    m_chart = chart;
    if (resized) updateGeometry();
    update();
    if (retitled && accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

QSize ChartView::sizeHint() const
{
    // A line and a half for each bar, with room for the title and the axis.
    const int line = fontMetrics().lineSpacing();
    const int bars = int(std::min<qsizetype>(m_chart.bars.size(), 24));
    const int height = bars > 0 ? line * 7 + line * bars * 3 / 2 : line * 18;
    return QSize(fontMetrics().averageCharWidth() * 64, height).expandedTo(minimumSizeHint());
}

QSize ChartView::minimumSizeHint() const
{
    // Room for a two-line title, the axes and a plot the turned axis title fits beside.
    const int line = fontMetrics().lineSpacing();
    const int frame = 2 * frameWidth();
    return QSize(fontMetrics().averageCharWidth() * 36 + frame, line * 14 + frame);
}

void ChartView::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    paintChart(&painter, contentsRect(), m_chart, font(), palette());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = contentsRect().adjusted(2, 2, -2, -2);
        option.backgroundColor = palette().color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace registro
