#pragma once

// Writing a class log line: the captions of a finished game put into one of the two line forms.
#include "ClassLogFormat.h"

#include <QString>

namespace records {

// The captions a class log line is built from, as the window shows them.
struct GameSummary {
    QString name;         // the player ("Anna")
    QString correctTitle; // "Risposte esatte"
    QString correct;      // "7"
    QString wrongTitle;   // "Risposte errate"
    QString wrong;        // "2"
    QString timeTitle;    // "Tempo restante"
    QString timeLeft;     // "00:03:12"
    QString date;         // "15/04/2007"
};

// One class log line in either form (see ClassLogFormat.h), without its line end.
QString classLogLine(const GameSummary &game, LogForm form);

} // namespace records
