#pragma once

#include "Conversions.h"

#include <QDate>
#include <QString>

namespace platform {

// The buttons of a message box: OK alone, or Yes and No with the question icon and No as
// the default button.
enum class Buttons { Ok, YesNoQuestion };

// What a message box returns; the values are the box's answer codes (6 for Yes, 7 for No).
enum class Answer { Ok = 1, Yes = 6, No = 7 };

// The title of every box opened without one of its own.
inline QString programTitle()
{
    return QStringLiteral("Solfira");
}

// The user's locale, asked afresh on every call (the user may change it while we run).
class LocaleSource
{
public:
    virtual ~LocaleSource() = default;
    virtual NumberLocale numberLocale() const = 0;
};

// Everything the window needs from the world outside it. Production uses QtServices;
// tests script it.
class Services : public LocaleSource
{
public:
    // A modal message box; returns which button closed it.
    virtual Answer messageBox(const QString &prompt, Buttons buttons = Buttons::Ok,
                              const QString &title = QString()) = 0;
    // A modal input box; the empty text when cancelled.
    virtual QString inputBox(const QString &prompt, const QString &title = QString()) = 0;
    // Today's date in the user's short date form.
    virtual QString todayShortDate() const = 0;
    // Reseeds the generator from the clock.
    virtual void randomize() = 0;
    // A uniform draw in [0, 1).
    virtual double rnd() = 0;
    virtual void beep() = 0;
    // Ends the program at once: no further event is handled. A caller returns right after it.
    virtual void endProgram() = 0;
    // The program's "about" box: `summary` shown, `licences` (long, plain text) on request.
    virtual void aboutBox(const QString &summary, const QString &licences) = 0;
};

// How a short date writes its year.
enum class Year { Full, TwoDigits };
// The locale's short date form with the year written in full ("dd/MM/yyyy" in Italian), so a
// teacher's log or register never has a two-digit year; in two digits ("dd/MM/yy") only where
// room is short and the years are plain from around, as on a chart's time axis.
QString shortDateFormat(const QLocale &locale, Year year = Year::Full);
// A date in that form (15/04/2007 on an Italian system).
QString shortDateText(const QDate &date, const QLocale &locale);

// Shows the report of an error that escaped an event handler and ends the program.
void reportFatalError(Services &services, const std::exception &error);

} // namespace platform
