#pragma once

// What the tests of a whole competition share: a window on scripted services and a data
// directory of its own, made afresh for every test function.
#include "FakeServices.h"
#include "window/Tavola.h"

#include <QTemporaryDir>

#include <utility>

class CompetitionFixture : public QObject
{
    Q_OBJECT
private slots:
    // Run by Qt Test around every test function of the classes derived from this one.
    void init()
    {
        dir = new QTemporaryDir;
        services = new FakeServices;
    }
    void cleanup()
    {
        delete std::exchange(w, nullptr);
        delete services;
        delete dir;
    }

protected:
    static QString greetingOf(const QString &name)
    {
        return " " + name + " vediamo se sei un vero campione  ";
    }

    // Loads the window with `name` typed at the name prompt.
    Tavola *startGame(const QString &name)
    {
        services->inputs.enqueue(name);
        w = new Tavola(*services, dir->path());
        w->start();
        return w;
    }
    QString path(const QString &file) const { return dir->filePath(file); }

    QTemporaryDir *dir = nullptr;
    FakeServices *services = nullptr;
    Tavola *w = nullptr;
};
