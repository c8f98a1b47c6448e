#pragma once

#include "records/ClassLogWarning.h"

#include <QTest>

namespace records {

// A warning in full, for QCOMPARE's report and for comparing whole parses.
inline QString describe(const ClassLogWarning &w)
{
    return QStringLiteral("line %1: kind %2, field %3, order %4, byte %5, count %6, column %7 «%8»")
        .arg(QString::number(w.lineNumber), QString::number(int(w.kind)),
             QString::number(int(w.field)), QString::number(int(w.order)), QString::number(w.byte),
             QString::number(w.count), QString::number(w.column), w.piece);
}

inline char *toString(const ClassLogWarning &w)
{
    return QTest::toString(describe(w));
}

} // namespace records
