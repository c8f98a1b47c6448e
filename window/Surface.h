#pragma once

#include <QImage>
#include <QWidget>

// The window's drawing surface: a background colour and a drawing kept in a back buffer that
// survives repaints. Setting the background colour erases the drawing, as clearing does.
class Surface : public QWidget
{
    Q_OBJECT
public:
    explicit Surface(QWidget *parent = nullptr);

    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &colour);
    void clear();
    // A filled box, corners included, in the surface's pixels.
    void fillBox(const QRect &box, const QColor &colour);
    // What the surface shows at a pixel: the drawing where there is one, else the background.
    QColor pixelAt(QPoint point) const;
    bool hasDrawing() const { return !m_drawing.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_backColor;
    QImage m_drawing; // transparent where nothing is drawn; null when nothing is
};
