#pragma once

#include "ClassLogFormat.h"

#include <QDate>
#include <QString>

namespace records {

// One game read from a class log.
struct ClassLogEntry {
    QString name;     // as the player typed it (may be empty, hold spaces or digits)
    QString dateText; // the date as written in the line, trimmed
    qint64 lineNumber = 0;
    QDate date; // invalid when the date text could not be read
    qint32 correct = 0;
    qint32 wrong = 0;
    qint32 secondsLeft = -1; // -1 when the time left could not be read
    LogForm form = LogForm::RecordStands;

    int total() const { return correct + wrong; }
    bool setRecord() const { return form == LogForm::NewRecord; }
    // 15 minutes minus the time left; -1 when unknown or not within a game's length.
    int secondsUsed() const
    {
        return secondsLeft < 0 || secondsLeft > GameSeconds ? -1 : GameSeconds - secondsLeft;
    }
    // Correct answers in percent of all answers; -1 when there were no answers.
    double accuracy() const { return total() > 0 ? 100.0 * correct / total() : -1.0; }
};

} // namespace records

// Entries are moved in bulk when a list of 100 000 games grows.
Q_DECLARE_TYPEINFO(records::ClassLogEntry, Q_RELOCATABLE_TYPE);
