#pragma once

#include "ClassLogWarning.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace records {

// The text of a class log line, read from its bytes. Lines are single-byte Latin-1; a
// line that is valid UTF-8 with letters beyond ASCII was written by another program and
// is read as such; bytes that cannot stand in a name are shown as U+FFFD. Each of these
// adds a warning to `warnings`.
QString decodeLogLine(QByteArrayView raw, QList<ClassLogWarning> *warnings);

} // namespace records
