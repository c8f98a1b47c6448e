#pragma once

#include <QColor>
#include <QWidget>

// A straight line of a given colour and width between two points (in the parent's pixels).
class LineShape : public QWidget
{
    Q_OBJECT
public:
    LineShape(QWidget *parent, QPoint from, QPoint to, int width, const QColor &colour);
    QPoint from() const { return m_from; }
    QPoint to() const { return m_to; }
    int lineWidth() const { return m_width; }
    QColor colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint m_from, m_to;
    int m_width;
    QColor m_colour;
};
