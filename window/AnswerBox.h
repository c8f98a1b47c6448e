#pragma once

#include <QLineEdit>

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
