#pragma once

#include "Services.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <random>

namespace platform {

// The production services: Qt's dialogs, the system locale and clock, the system beep.
class QtServices : public Services
{
public:
    QtServices();

    // The window the boxes belong to (may be hidden or null).
    void setDialogParent(QWidget *parent) { m_parent = parent; }

    NumberLocale numberLocale() const override;
    Answer messageBox(const QString &prompt, Buttons buttons, const QString &title) override;
    QString inputBox(const QString &prompt, const QString &title) override;
    QString todayShortDate() const override;
    void randomize() override;
    double rnd() override;
    void beep() override;
    void endProgram() override;
    void aboutBox(const QString &summary, const QString &licences) override;

private:
    QWidget *dialogParent();

    QPointer<QWidget> m_parent;
    std::unique_ptr<QWidget> m_standIn;
    std::mt19937_64 m_generator;
};

} // namespace platform
