#pragma once

// The grammar of one class log line, in either of its two forms (see ClassLogFormat.h).

#include "ClassLogEntry.h"
#include "ClassLogWarning.h"
#include "LogDates.h"

#include <QByteArrayView>
#include <QList>

#include <optional>

namespace records {

// The result of reading one line.
struct ParsedLine {
    std::optional<ClassLogEntry> entry; // empty when the line gives no game
    QList<ClassLogWarning> warnings;    // empty for a clean line; their line numbers are 0
};

// Reads one line, without its line end. Both forms of the game are read exactly,
// whatever the name holds; the fixed words must be there, the spaces around the
// numbers may vary.
ParsedLine parseClassLogLine(QByteArrayView line, DateOrder order = DateOrder::DayMonthYear);

} // namespace records
