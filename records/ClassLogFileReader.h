#pragma once

// Reading a class log file, whole or the part that has grown since the last read.

#include "ClassLogStreamParser.h"
#include "Failure.h"

#include <optional>

namespace records {

// What reading a file, or its growth, gave.
struct ClassLogRead {
    QList<ClassLogEntry> entries;
    QList<ClassLogWarning> warnings;
    qint64 warningCount = 0;   // warnings found, including those not kept
    qint64 endOffset = 0;      // file offset after the last byte read
    qint64 completeOffset = 0; // file offset after the last line end read
    qint64 nextLineNumber = 1; // the line starting at completeOffset
    // Entries and warnings of complete lines; the rest come from a last line without a
    // line end, which may still be growing.
    qsizetype entriesBeforeTail = 0;
    qsizetype warningsBeforeTail = 0;
    qint64 warningCountBeforeTail = 0;
    std::optional<Failure> failure; // why the file could not be read, or read to its end
};

// Reads `path` from byte `offset` to its end, opened read-only, in blocks.
ClassLogRead readClassLog(const QString &path, qint64 offset = 0, qint64 firstLineNumber = 1,
                          DateOrder order = DateOrder::DayMonthYear);

} // namespace records
