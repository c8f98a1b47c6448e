#include "ClassLogFileReader.h"

#include <QFile>
#include <QFileInfo>

namespace records {

ClassLogRead readClassLog(const QString &path, qint64 offset, qint64 firstLineNumber,
                          DateOrder order)
{
    ClassLogRead result;
    result.endOffset = result.completeOffset = offset;
    result.nextLineNumber = firstLineNumber;

    const QFileInfo info(path);
    if (!info.exists()) {
        result.error = QStringLiteral("il file non esiste più");
        return result;
    }
    // A pipe or a device would block or never end: only plain files are read.
    if (!info.isFile()) {
        result.error = QStringLiteral("non è un file di testo");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("impossibile aprire il file: %1").arg(file.errorString());
        return result;
    }
    if (offset > 0 && !file.seek(offset)) {
        result.error = QStringLiteral("impossibile leggere il file: %1").arg(file.errorString());
        return result;
    }

    ClassLogStreamParser parser(order, firstLineNumber);
    QByteArray block(1 << 20, Qt::Uninitialized);
    qint64 read = 0;
    while ((read = file.read(block.data(), block.size())) > 0) {
        parser.addData(QByteArrayView(block.constData(), read));
        result.endOffset += read;
    }
    if (read < 0) result.error = QStringLiteral("errore di lettura: %1").arg(file.errorString());

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
