#pragma once

// What was wrong with a class log line, as a value: which line, what kind of fault, and the
// piece, field or count the teacher is told about. The sentence the register shows for it is
// made in texts/ClassLogWarningText.h.

#include "LogDates.h"

#include <QString>

namespace records {

// The parts of a game's line that a warning can name as missing or out of place.
enum class LineField : quint8 {
    CorrectTitle,
    CorrectCount,
    WrongTitle,
    WrongCount,
    TimeTitle,
    DateWord
};

struct ClassLogWarning {
    enum class Kind : quint8 {
        EmptyLine,         // nothing but blanks
        NotAGame,          // the line does not start with "Nome:"
        CutShort,          // the line ends before `field`; no game read
        Unrecognised,      // `piece` ends where `field` should; no game read
        TwoGames,          // two games with no line end between them; none read
        TooLong,           // longer than ClassLogStreamParser::MaxLineLength; skipped
        NoTimeLeft,        // the time left is missing
        TimeUnreadable,    // the time left `piece` is no time of the clock
        TimeBeyondGame,    // the time left `piece` is longer than a game
        NoDate,            // the date is missing
        DateUnknown,       // the date `piece` could not be read
        DateInOtherOrder,  // the date `piece` fits only `order` of day and month
        Utf8Line,          // written in UTF-8, not in the logs' single-byte code; read as UTF-8
        ControlCharacters, // `count` control characters of a UTF-8 line shown as U+FFFD
        InvalidBytes,      // `count` bytes shown as U+FFFD, the first `byte` at `column`
    };
    qint64 lineNumber = 0; // 1-based; 0 while the line is read on its own
    Kind kind = Kind::EmptyLine;
    LineField field = LineField::CorrectTitle;
    DateOrder order = DateOrder::DayMonthYear;
    uchar byte = 0;
    qsizetype count = 0;
    qsizetype column = 0; // 1-based, in bytes
    QString piece{};      // the part of the line quoted, as it stands there

    friend bool operator==(const ClassLogWarning &, const ClassLogWarning &) = default;
};

} // namespace records

// Warnings are moved in bulk when a long list of them grows.
Q_DECLARE_TYPEINFO(records::ClassLogWarning, Q_RELOCATABLE_TYPE);
