#include "TimeNotice.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <utility>

namespace {

constexpr int PauseMs = 1500; // a key within this much time: the pupil is still typing
constexpr int StepMs = 500;
constexpr int MostSteps = 20; // ten seconds

QAccessibleInterface *noticeAccessibility(const QString &, QObject *object)
{
    if (auto *notice = qobject_cast<TimeNotice *>(object))
        return new QAccessibleWidget(notice, QAccessible::Notification);
    return nullptr;
}

} // namespace

void TimeNotice::installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(noticeAccessibility);
        return true;
    }();
    Q_UNUSED(installed);
}

TimeNotice::TimeNotice(QWidget *parent) : QWidget(parent)
{
    installAccessibility();
    setObjectName(QStringLiteral("timeNotice"));
    setGeometry(0, 0, 1, 1); // nothing of it is painted
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    lower();
    hide();
    m_timer.setObjectName(QStringLiteral("timeNoticeTimer"));
    m_timer.setParent(this);
    m_timer.setSingleShot(true);
    m_timer.setInterval(StepMs);
    connect(&m_timer, &QTimer::timeout, this, &TimeNotice::tell);
}

void TimeNotice::announce(const QString &text)
{
    m_pending = text;
    m_waited = 0;
    tell();
}

void TimeNotice::tell()
{
    if (m_pending.isEmpty()) return;
    if (m_lastKey.isValid() && m_lastKey.elapsed() < PauseMs && m_waited < MostSteps) {
        ++m_waited;
        m_timer.start();
        return;
    }
    hide();
    setAccessibleName(std::exchange(m_pending, QString()));
    show();
}
