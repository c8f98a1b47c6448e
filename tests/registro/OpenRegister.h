#pragma once

// The register as the window tests open it.

#include "registro/RegisterSession.h"
#include "registro/RegisterWindow.h"

#include <QtTest>

// Opens the register on `directory`, read once (the tests refresh it themselves), and shows
// its window; false when the window never came on screen. The caller deletes both.
inline bool openRegister(const QString &directory, registro::RegisterSession *&session,
                         registro::RegisterWindow *&window)
{
    session = new registro::RegisterSession;
    session->setPollInterval(0);
    session->setDataDirectory(directory);
    window = new registro::RegisterWindow(session);
    window->show();
    return QTest::qWaitForWindowExposed(window);
}
