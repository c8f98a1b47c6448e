#pragma once

// The names of the files in the data directory, and what the prompts keep of typed text.
#include <QString>
#include <QStringView>

namespace records {

// Names of the two record files in the data directory.
inline constexpr char RecordScoreFileName[] = "velmora.txt";
inline constexpr char RecordHolderFileName[] = "velmora1.txt";

// The file name of a class log: the class name as typed, made safe to stand as a
// file name in the data directory, then ".txt". "3A" gives "3A.txt", "" gives ".txt",
// "../x" gives ".._x.txt", "CON" gives "CON_.txt", "nul.a" gives "nul_.a.txt", and a
// class that would name a record file, in any case, is kept off it: "Velmora" gives
// "Velmora_.txt".
QString classLogFileName(const QString &className);

// True when `text` holds a control character (C0, DEL or C1: line breaks, tabs and the
// rest), which no file of the program may hold.
bool hasControlCharacters(QStringView text);

// What the name and class prompts keep of a typed or pasted text: a line break ends it
// (line breaks before any other character are dropped), and the other control characters
// are dropped. "Anna\nNome:  Eva" gives "Anna", "\r\nAnna\t" gives "Anna".
QString promptText(const QString &typed);

// The longest start of `className` whose class log file name fits every common file
// system: at most 255 bytes in UTF-8 and 255 UTF-16 units, and at most `room` UTF-16 units
// (what a path limit leaves after the directory). A character is never cut in half.
QString fittingClassName(const QString &className, qsizetype room);

} // namespace records
