#include "DataFileNames.h"

#include <QStringList>

#include <algorithm>

namespace records {

namespace {

bool isControl(QChar c)
{
    return c.unicode() < 32 || (c.unicode() >= 127 && c.unicode() < 160);
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.unicode() == 0x0b ||
           c.unicode() == 0x0c || c.unicode() == 0x85 || c.unicode() == 0x2028 ||
           c.unicode() == 0x2029;
}

constexpr qsizetype MaxFileNameLength = 255; // bytes in UTF-8, and UTF-16 units

} // namespace

bool hasControlCharacters(QStringView text)
{
    for (QChar c : text)
        if (isControl(c)) return true;
    return false;
}

QString promptText(const QString &typed)
{
    QString kept;
    kept.reserve(typed.size());
    for (QChar c : typed) {
        if (isLineBreak(c)) {
            if (kept.isEmpty()) continue;
            break;
        }
        if (!isControl(c)) kept += c;
    }
    return kept;
}

QString fittingClassName(const QString &className, qsizetype room)
{
    // No file name is longer than MaxFileNameLength UTF-16 units, so neither is the class.
    QString name = className.left(MaxFileNameLength);
    if (name.size() < className.size() && name.back().isHighSurrogate()) name.chop(1);
    while (!name.isEmpty()) {
        const QString fileName = classLogFileName(name);
        if (fileName.size() <= std::min(room, MaxFileNameLength) &&
            fileName.toUtf8().size() <= MaxFileNameLength)
            return name;
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() &&
                          name.at(name.size() - 2).isHighSurrogate()
                      ? 2
                      : 1);
    }
    return name;
}

QString classLogFileName(const QString &className)
{
    QString name;
    name.reserve(className.size() + 1);
    for (QChar c : className) {
        const bool forbidden = isControl(c) || QStringLiteral("/\\:*?\"<>|").contains(c);
        name += forbidden ? QLatin1Char('_') : c;
    }
    // The record files share the folder (and, on many file systems, ignore case).
    for (const char *recordFile : {RecordScoreFileName, RecordHolderFileName})
        if ((name + QStringLiteral(".txt"))
                .compare(QLatin1String(recordFile), Qt::CaseInsensitive) == 0)
            name += QLatin1Char('_');
    // Windows reserves these device names, with or without an extension.
    static const QStringList reserved = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    const qsizetype stemEnd = dot < 0 ? name.size() : dot;
    if (reserved.contains(name.left(stemEnd).trimmed(), Qt::CaseInsensitive))
        name.insert(stemEnd, QLatin1Char('_'));
    return name + QStringLiteral(".txt");
}

} // namespace records
