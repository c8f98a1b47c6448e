#include "PictureButton.h"

#include <QKeyEvent>

PictureButton::PictureButton(QWidget *parent) : QToolButton(parent)
{
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(32, 32));
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QToolButton::pressed, this, [this] {
        if (!m_pressed.isNull()) setIcon(m_pressed);
    });
    connect(this, &QToolButton::released, this, [this] { setIcon(m_normal); });
}

void PictureButton::setPictures(const QString &normal, const QString &disabled,
                                const QString &pressed)
{
    m_normal = QIcon();
    m_normal.addFile(normal, QSize(), QIcon::Normal);
    m_normal.addFile(normal, QSize(), QIcon::Active);
    if (!disabled.isEmpty()) m_normal.addFile(disabled, QSize(), QIcon::Disabled);
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
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (isEnabled()) click();
        return;
    }
    QToolButton::keyPressEvent(event);
}
