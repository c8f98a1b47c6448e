#pragma once

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

// Small widget classes the window is built from.

// Places are given in twips; 15 twips are one pixel at 96 dots per inch.
constexpr int twips(int t)
{
    return t / 15;
}
QRect twipsRect(int left, int top, int width, int height);

// A font of the given face and size in points, sized in pixels as at 96 dots per inch so that
// text fits the places it was laid out for on any screen. Faces missing on this system fall
// back to the metric-compatible ones (Liberation Sans for Arial, Liberation Serif for Times
// New Roman).
QFont layoutFont(const QString &face, double points, bool bold = false, bool italic = false);

// A label whose caption is kept exactly as written (line ends included) and shown with
// CR LF as a line break. A label that fits its text grows or shrinks to the right of its
// left edge whenever its caption changes.
class Label : public QLabel
{
    Q_OBJECT
public:
    explicit Label(QWidget *parent);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    void setFitsText(bool fits) { m_fitsText = fits; }
    bool fitsText() const { return m_fitsText; }

signals:
    void captionChanged(const QString &caption);

private:
    QString m_caption;
    bool m_fitsText = false;
};

// A text box that reports each character key before taking it: the handler sees the
// character code (Enter 13, Backspace 8, Esc 27), then the box takes the key as usual.
// Alt with a key is left to the access keys and the menu.
// Tab moves the focus and reports nothing.
class AnswerBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit AnswerBox(QWidget *parent);

signals:
    void keyPress(qint16 &keyAscii);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A push button that paints its colour and a picture above its caption, with other
// pictures for its disabled and pressed looks.
class PictureButton : public QToolButton
{
    Q_OBJECT
public:
    explicit PictureButton(QWidget *parent);
    void setPictures(const QString &normal, const QString &disabled = QString(),
                     const QString &pressed = QString());
    void setBackground(const QColor &colour);

protected:
    // Enter on a focused button clicks it, as a mouse click would.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QIcon m_normal;
    QIcon m_pressed;
};

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

// A picture box: shows a picture from its top-left corner. The picture is decoded only when
// the box is first shown, so a hidden box costs nothing.
class PictureBox : public QLabel
{
    Q_OBJECT
public:
    PictureBox(QWidget *parent, const QString &resource);
    QString resource() const { return m_resource; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString m_resource;
    bool m_loaded = false;
};

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
