#pragma once

#include "ClassLogFormat.h"

#include <QByteArray>
#include <QString>

namespace records {

// Names of the two record files in the data directory.
inline constexpr char RecordScoreFileName[] = "velmora.txt";
inline constexpr char RecordHolderFileName[] = "velmora1.txt";

// The captions a class log line is built from, as the window shows them.
struct GameSummary {
    QString name;          // the player ("Anna")
    QString correctTitle;  // "Risposte esatte"
    QString correct;       // "7"
    QString wrongTitle;    // "Risposte errate"
    QString wrong;         // "2"
    QString timeTitle;     // "Tempo restante"
    QString timeLeft;      // "00:03:12"
    QString date;          // "15/04/2007"
};

// One class log line in either form (see ClassLogFormat.h), without its line end.
QString classLogLine(const GameSummary &game, LogForm form);

// Every line the program writes is single-byte text followed by CR LF.
QByteArray encodeLine(const QString &text);
// Text of a file written by the program (single-byte, the Western code page).
QString decodeText(const QByteArray &bytes);
QByteArray encodeText(const QString &text);

// The file name of a class log: the class name as typed, made safe to stand as a
// file name in the data directory, then ".txt". "3A" gives "3A.txt", "" gives ".txt",
// "../x" gives ".._x.txt", "CON" gives "CON_.txt", "nul.a" gives "nul_.a.txt".
QString classLogFileName(const QString &className);

} // namespace records
