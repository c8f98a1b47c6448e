#include "Controls.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

QFont layoutFont(const QString &face, double points, bool bold, bool italic)
{
    QFont font;
    QStringList families{face};
    if (face == QLatin1String("Times New Roman"))
        families << QStringLiteral("Liberation Serif") << QStringLiteral("DejaVu Serif");
    else
        families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans")
                 << QStringLiteral("DejaVu Sans");
    font.setFamilies(families);
    font.setPixelSize(int(std::lround(points * 96.0 / 72.0)));
    if (face == QLatin1String("Arial Black"))
        font.setWeight(QFont::Black);
    else
        font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// Label ------------------------------------------------------------------------------------

Label::Label(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setIndent(0);
}

void Label::setCaption(const QString &caption)
{
    m_caption = caption;
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(shown);
    if (m_fitsText) {
        // The text's own extent plus the border, nothing more.
        const QSize text = fontMetrics().boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, shown).size();
        resize(text.width() + 2 * frameWidth(), text.height() + 2 * frameWidth());
    }
    emit captionChanged(caption);
}

// AnswerBox --------------------------------------------------------------------------------

namespace {

// Holds back the font change of an answer box that has not been polished yet (polishing comes
// just before the first show) and replays it then. The box's font() is the new one at once;
// only the box's text layout waits, so the large face is loaded when the window is shown,
// after the name prompt, rather than while the window is built before it.
class FontOnFirstShow : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_released)
            return false;
        if (event->type() == QEvent::FontChange) {
            m_pending = true;
            return true;
        }
        if (event->type() == QEvent::Polish) {
            m_released = true;
            if (m_pending) {
                QEvent fontChange(QEvent::FontChange);
                QCoreApplication::sendEvent(watched, &fontChange);
            }
        }
        return false;
    }

private:
    bool m_pending = false;
    bool m_released = false;
};

} // namespace

AnswerBox::AnswerBox(QWidget *parent) : QLineEdit(parent)
{
    installEventFilter(new FontOnFirstShow(this));
}

void AnswerBox::keyPressEvent(QKeyEvent *event)
{
    // Alt with a key is an access key or a menu, never a character for the box.
    if (event->modifiers() & Qt::AltModifier) {
        event->ignore();
        return;
    }
    const QString text = event->text();
    const bool focusKey = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (!text.isEmpty() && !focusKey) {
        qint16 code = qint16(text.at(0).unicode());
        emit keyPress(code);
    }
    QLineEdit::keyPressEvent(event);
}

// PictureButton ----------------------------------------------------------------------------

PictureButton::PictureButton(QWidget *parent) : QToolButton(parent)
{
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(32, 32));
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QToolButton::pressed, this, [this] {
        if (!m_pressed.isNull())
            setIcon(m_pressed);
    });
    connect(this, &QToolButton::released, this, [this] { setIcon(m_normal); });
}

void PictureButton::setPictures(const QString &normal, const QString &disabled,
                                const QString &pressed)
{
    m_normal = QIcon();
    m_normal.addFile(normal, QSize(), QIcon::Normal);
    m_normal.addFile(normal, QSize(), QIcon::Active);
    if (!disabled.isEmpty())
        m_normal.addFile(disabled, QSize(), QIcon::Disabled);
    m_pressed = pressed.isEmpty() ? QIcon() : QIcon(pressed);
    setIcon(m_normal);
}

void PictureButton::setBackground(const QColor &colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    setAutoFillBackground(true);
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        if (isEnabled())
            click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

// LineShape --------------------------------------------------------------------------------

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

// PictureBox -------------------------------------------------------------------------------

PictureBox::PictureBox(QWidget *parent, const QString &resource)
    : QLabel(parent), m_resource(resource)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::showEvent(QShowEvent *event)
{
    if (!m_loaded) {
        m_loaded = true;
        setPixmap(QPixmap(m_resource));
    }
    QLabel::showEvent(event);
}

// Surface ----------------------------------------------------------------------------------

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
        if (drawn.alpha() == 255)
            return drawn;
    }
    return m_backColor;
}

void Surface::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), m_backColor);
    if (!m_drawing.isNull())
        painter.drawImage(event->rect(), m_drawing, event->rect());
}
