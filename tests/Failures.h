#pragma once

#include "records/Failure.h"

#include <QTest>

namespace records {

// A failure in full, for QCOMPARE's report.
inline char *toString(const Failure &f)
{
    return QTest::toString(QStringLiteral("step %1 on %2: error %3/%4 %5")
                               .arg(QString::number(int(f.step)), f.path,
                                    QString::number(int(f.error.kind)),
                                    QString::number(f.error.code), f.systemText));
}

} // namespace records

using platform::files::FileError;
using Step = records::Failure::Step;
