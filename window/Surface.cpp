#include "Surface.h"

#include <QPaintEvent>
#include <QPainter>

Surface::Surface(QWidget *parent) : QWidget(parent), m_backColor(palette().color(QPalette::Window))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Surface::setBackColor(const QColor &colour)
{
    m_backColor = colour;
    m_drawing = QImage();
    update();
}

void Surface::clear()
{
    m_drawing = QImage();
    update();
}

void Surface::fillBox(const QRect &box, const QColor &colour)
{
    if (m_drawing.isNull()) {
        m_drawing = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_drawing.fill(Qt::transparent);
    }
    QPainter painter(&m_drawing);
    painter.fillRect(box, colour);
    update(box);
}

QColor Surface::pixelAt(QPoint point) const
{
    if (!m_drawing.isNull() && m_drawing.rect().contains(point)) {
        const QColor drawn = m_drawing.pixelColor(point);
        if (drawn.alpha() == 255) return drawn;
    }
    return m_backColor;
}

void Surface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), m_backColor);
    if (!m_drawing.isNull()) painter.drawImage(event->rect(), m_drawing, event->rect());
}
