#pragma once

#include <QByteArray>
#include <QString>

namespace records {

// Every line the program writes is single-byte text followed by CR LF.
QByteArray encodeLine(const QString &text);
// Text of a file written by the program (single-byte, the Western code page).
QString decodeText(const QByteArray &bytes);
QByteArray encodeText(const QString &text);

} // namespace records
