#pragma once

#include "platform/Services.h"

#include <QQueue>
#include <QStringList>

#include <cmath>
#include <functional>

// Scripted services: dialogs answer from queues and record what they showed; the generator
// returns queued draws; ending the program and the beep are counted.
class FakeServices : public platform::Services
{
public:
    struct Box {
        QString prompt;
        platform::Buttons buttons;
        QString title;
    };

    platform::NumberLocale locale{QStringLiteral(",")};
    QQueue<platform::Answer> answers; // Yes/No box answers; OK boxes take none
    QQueue<QString> inputs;           // input box answers ("" when the queue is empty)
    QQueue<double> draws;             // rnd() values; then a fixed low-discrepancy sequence
    QList<Box> boxes;                 // every message box shown
    QStringList inputPrompts;         // every input box shown
    QString date = QStringLiteral("15/04/2007");
    int randomizeCount = 0;
    int beeps = 0;
    QList<std::pair<QString, QString>> abouts; // summary and licences of each about box
    int endCount = 0;
    std::function<void(const Box &)> onMessageBox; // runs while a box is "open"

    platform::NumberLocale numberLocale() const override { return locale; }

    platform::Answer messageBox(const QString &prompt, platform::Buttons buttons,
                                const QString &title) override
    {
        const Box box{prompt, buttons, title.isEmpty() ? platform::programTitle() : title};
        boxes.append(box);
        if (onMessageBox) onMessageBox(box);
        if (buttons == platform::Buttons::Ok) return platform::Answer::Ok;
        return answers.isEmpty() ? platform::Answer::No : answers.dequeue();
    }

    void aboutBox(const QString &summary, const QString &licences) override
    {
        abouts.append({summary, licences});
    }

    QString inputBox(const QString &prompt, const QString &) override
    {
        inputPrompts.append(prompt);
        return inputs.isEmpty() ? QString() : inputs.dequeue();
    }

    QString todayShortDate() const override { return date; }
    void randomize() override { ++randomizeCount; }
    double rnd() override
    {
        if (!draws.isEmpty()) return draws.dequeue();
        fallback = std::fmod(fallback + 0.6180339887498949, 1.0);
        return fallback;
    }
    double fallback = 0.1;
    void beep() override { ++beeps; }
    void endProgram() override { ++endCount; }

    QStringList prompts() const
    {
        QStringList out;
        for (const Box &b : boxes)
            out << b.prompt;
        return out;
    }
};
