#pragma once

// Reading the program's small text files, and saying why a file step failed.
#include "platform/FileError.h"

#include <QString>

#include <string>

namespace records {

// No file the program writes is longer than this, so a longer file is read no further.
inline constexpr qsizetype TextFileReadLimit = 4096;

// The content of a text file, whole up to TextFileReadLimit bytes ("" for an empty file).
// `error` receives which file failed and why when it cannot be read (something other than
// a regular file stands there, for one), and the result is then empty.
QString Leggifiletxt(const QString &path, QString *error = nullptr);

// The record score as the end of a game compares it: the leading number of the record
// file's text. A value above 99999, which no game can reach (the count of correct answers
// is a 16-bit number), counts as 0, so a planted record can never stand unbeaten.
double readRecordScore(const QString &text);

// The Italian reason for a failed file step ("spazio esaurito sul disco", "permesso negato"...).
QString fileErrorText(platform::files::FileError error);

// "<action> il file <path>:\n<reason>", the path as the system writes it.
QString describeFileFailure(const QString &action, const QString &path, const QString &reason);

// `path` as the file steps of platform/PlainFiles.h take it.
std::string nativeFilePath(const QString &path);

} // namespace records
