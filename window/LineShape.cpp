#include "LineShape.h"

#include <QPainter>

LineShape::LineShape(QWidget *parent, QPoint from, QPoint to, int width, const QColor &colour)
    : QWidget(parent), m_from(from), m_to(to), m_width(width), m_colour(colour)
{
    const int half = width / 2;
    setGeometry(QRect(from, to).normalized().adjusted(-half, -half, width - half, width - half));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(m_colour, m_width, Qt::SolidLine, Qt::FlatCap));
    const QPoint offset = geometry().topLeft();
    painter.drawLine(m_from - offset, m_to - offset);
}
