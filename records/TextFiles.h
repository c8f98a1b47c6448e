#pragma once

// Reading the program's small text files.
#include "Failure.h"

#include <QString>

#include <optional>
#include <string>

namespace records {

// No file the program writes is longer than this, so a longer file is read no further.
inline constexpr qsizetype TextFileReadLimit = 4096;

// What reading a text file gave.
struct TextFileRead {
    QString text;                   // whole up to TextFileReadLimit bytes ("" for an empty file)
    std::optional<Failure> failure; // why it could not be read; `text` is then empty
};

// The content of a text file. Something other than a regular file under its name (a link, a
// folder...) is a failure, never followed or read.
TextFileRead Leggifiletxt(const QString &path);

// The record score as the end of a game compares it: the leading number of the record
// file's text. A value above 99999, which no game can reach (the count of correct answers
// is a 16-bit number), counts as 0, so a planted record can never stand unbeaten.
double readRecordScore(const QString &text);

// `path` as the file steps of platform/PlainFiles.h take it.
std::string nativeFilePath(const QString &path);

} // namespace records
