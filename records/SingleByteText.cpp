#include "SingleByteText.h"

#ifdef Q_OS_WIN
#include "platform/WindowsCalls.h"
#endif

namespace records {

// The files keep one byte per character. On Windows that is the system's ANSI code page
// (1252 in Italy: "ò" is 0xF2); elsewhere Latin-1, which gives every Italian letter the same
// byte, so a folder shared by PCs of both systems reads the same. A character the code page
// cannot hold is written as '?'.
QByteArray encodeText(const QString &text)
{
#ifdef Q_OS_WIN
    return QByteArray::fromStdString(platform::ansiFromWide(text.toStdWString()));
#else
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(c.unicode() < 256 ? char(c.unicode()) : '?');
    return out;
#endif
}

QString decodeText(const QByteArray &bytes)
{
#ifdef Q_OS_WIN
    return QString::fromStdWString(platform::wideFromAnsi(bytes.toStdString()));
#else
    return QString::fromLatin1(bytes);
#endif
}

QByteArray encodeLine(const QString &text)
{
    return encodeText(text) + QByteArrayLiteral("\r\n");
}

} // namespace records
