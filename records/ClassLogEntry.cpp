#include "ClassLogEntry.h"

namespace records {

QString ClassLogWarning::text() const
{
    if (lineNumber <= 0) return reason;
    return QStringLiteral("Riga %1: %2").arg(lineNumber).arg(reason);
}

QString quotedInWarning(QStringView text)
{
    return QStringLiteral("«%1»").arg(text);
}

} // namespace records
