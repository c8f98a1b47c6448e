#include "TextFiles.h"

#include "SingleByteText.h"
#include "platform/Conversions.h"
#include "platform/PlainFiles.h"

#include <QDir>
#include <QFile>

namespace records {

std::string nativeFilePath(const QString &path)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(path).toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

TextFileRead Leggifiletxt(const QString &path)
{
    std::string bytes;
    if (const platform::files::FileError error =
            platform::files::readHead(nativeFilePath(path), size_t(TextFileReadLimit), bytes))
        return {QString(), Failure{Failure::Step::ReadFile, path, error, {}}};
    return {decodeText(QByteArray::fromStdString(bytes)), std::nullopt};
}

double readRecordScore(const QString &text)
{
    const double record = platform::readLeadingNumber(text);
    return record > 99999 ? 0.0 : record;
}

} // namespace records
