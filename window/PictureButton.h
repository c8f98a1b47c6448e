#pragma once

#include <QIcon>
#include <QToolButton>

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
