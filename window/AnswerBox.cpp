#include "AnswerBox.h"

#include <QCoreApplication>
#include <QKeyEvent>

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
        if (m_released) return false;
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
