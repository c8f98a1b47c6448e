#pragma once

// The class log line, in one place for the game that writes it (ClassLogWriter.cpp), the
// register that reads it back (ClassLogLineParser.cpp) and the window that counts the time
// it records. For Anna, 7 right, 2 wrong, 3 minutes 12 seconds left:
// clang-format off
//   form 1: Nome:  Anna  Risposte esatte 7  Risposte errate  2Tempo restante   00:03:12Data:   15/04/2007
//   form 2: Nome:  Anna Risposte esatte 7  Risposte errate  2Tempo restante   00:03:12-"Data:  15/04/2007
// clang-format on
// The three titles are the window's captions ("Risposte esatte" …); "Nome:" and "Data:"
// are fixed.

#include <QStringView>

namespace records {

// Length of a game: the countdown starts at 15 minutes.
inline constexpr int GameMinutes = 15;
inline constexpr int GameSeconds = GameMinutes * 60;

// The two forms of a class log line: the first when the standing record holds,
// the second when the game has just beaten it.
enum class LogForm { RecordStands = 1, NewRecord = 2 };

namespace logformat {

inline constexpr QStringView NameWord = u"Nome:";
inline constexpr QStringView CorrectWord = u"Risposte esatte";
inline constexpr QStringView WrongWord = u"Risposte errate";
inline constexpr QStringView TimeWord = u"Tempo restante";
inline constexpr QStringView DateWord = u"Data:";
// Stands before "Data:" when the game set a new record.
inline constexpr QStringView NewRecordMark = u"-\"";

// The spaces between the fields, the same in both forms.
inline constexpr QStringView AfterNameWord = u"  ";
inline constexpr QStringView AfterCorrectTitle = u" ";
inline constexpr QStringView AfterCorrect = u"  ";
inline constexpr QStringView AfterWrongTitle = u"  ";
inline constexpr QStringView AfterTimeTitle = u"   ";

// What differs between the two forms: the spaces after the name, what stands before
// "Data:" and the spaces after it.
struct LineForm {
    QStringView afterName;
    QStringView beforeDateWord;
    QStringView afterDateWord;
};

constexpr LineForm lineForm(LogForm form)
{
    return form == LogForm::NewRecord ? LineForm{u" ", NewRecordMark, u"  "}
                                      : LineForm{u"  ", u"", u"   "};
}

} // namespace logformat
} // namespace records
