#include "ClassLogFileReader.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace records {

namespace {

Failure readFailure(Failure::Step step, const QString &path, const QFile &file)
{
    return Failure{step, path, {}, file.errorString()};
}

} // namespace

ClassLogRead readClassLog(const QString &path, qint64 offset, qint64 firstLineNumber,
                          DateOrder order)
{
    ClassLogRead result;
    result.endOffset = result.completeOffset = offset;
    result.nextLineNumber = firstLineNumber;

    const QFileInfo info(path);
    using platform::files::FileError;
    if (!info.exists()) {
        result.failure = Failure{Failure::Step::OpenClassLog, path, FileError::system(ENOENT), {}};
        return result;
    }
    // A pipe or a device would block or never end: only plain files are read.
    if (!info.isFile()) {
        const FileError kind{info.isDir() ? FileError::Directory : FileError::Special};
        result.failure = Failure{Failure::Step::OpenClassLog, path, kind, {}};
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.failure = readFailure(Failure::Step::OpenClassLog, path, file);
        return result;
    }
    if (offset > 0 && !file.seek(offset)) {
        result.failure = readFailure(Failure::Step::SeekClassLog, path, file);
        return result;
    }

    ClassLogStreamParser parser(order, firstLineNumber);
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = file.read(block.data(), block.size())) > 0) {
        parser.addData(QByteArrayView(block.constData(), read));
        result.endOffset += read;
    }
    if (read < 0) result.failure = readFailure(Failure::Step::ReadClassLog, path, file);

    result.completeOffset = offset + parser.completeBytes();
    result.nextLineNumber = parser.nextLineNumber();
    result.entriesBeforeTail = parser.entries().size();
    result.warningsBeforeTail = parser.warnings().size();
    result.warningCountBeforeTail = parser.warningCount();
    parser.finish();
    result.entries = parser.takeEntries();
    result.warnings = parser.takeWarnings();
    result.warningCount = parser.warningCount();
    return result;
}

} // namespace records
