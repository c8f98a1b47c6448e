#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

// A notice that a screen reader speaks as it is shown, wherever the focus is, and that nothing
// paints: the time marks of the countdown. A key typed in an answer box within the last second
// and a half puts the notice off, half a second at a time, for at most ten seconds, so that
// the pupil's own typing is not cut short.
class TimeNotice : public QWidget
{
    Q_OBJECT
public:
    explicit TimeNotice(QWidget *parent);

    // The accessible role of every TimeNotice; installed once by the constructor.
    static void installAccessibility();

    // The pupil typed in an answer box.
    void keyTyped() { m_lastKey.start(); }
    // Says `text` as soon as the pupil pauses.
    void announce(const QString &text);

private:
    void tell();

    QElapsedTimer m_lastKey;
    QString m_pending;
    int m_waited = 0; // half seconds put off so far
    QTimer m_timer;
};
