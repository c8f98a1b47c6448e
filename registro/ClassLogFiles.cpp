#include "ClassLogFiles.h"

#include "records/DataFileNames.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace registro {

QString ClassLogFile::displayName() const
{
    return className.isEmpty() ? QStringLiteral("(classe senza nome)") : className;
}

bool isRecordFile(const QString &fileName)
{
    // The data directory may be a shared Windows folder, where case does not count.
    return fileName.compare(QLatin1String(records::RecordScoreFileName), Qt::CaseInsensitive) ==
               0 ||
           fileName.compare(QLatin1String(records::RecordHolderFileName), Qt::CaseInsensitive) == 0;
}

QList<ClassLogFile> listClassLogs(const QString &directory)
{
    QList<ClassLogFile> files;
    if (directory.isEmpty()) return files;
    const QDir dir(directory);
    // Without QDir::System, pipes and devices are left out: they are never read.
    // QDir::Hidden keeps ".txt", the log of games played with an empty class name.
    const QFileInfoList infos =
        dir.entryInfoList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden, QDir::NoSort);
    for (const QFileInfo &info : infos) {
        if (isRecordFile(info.fileName()) ||
            !info.fileName().endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
            continue;
        ClassLogFile file;
        file.fileName = info.fileName();
        file.className = file.fileName.chopped(4);
        file.path = info.absoluteFilePath();
        file.modified = info.lastModified();
        file.size = info.size();
        files.append(file);
    }
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(files.begin(), files.end(), [&](const ClassLogFile &a, const ClassLogFile &b) {
        const int c = collator.compare(a.className, b.className);
        return c != 0 ? c < 0 : a.fileName < b.fileName;
    });
    return files;
}

int mostRecent(const QList<ClassLogFile> &files)
{
    int best = -1;
    for (int i = 0; i < files.size(); ++i)
        if (best < 0 || files[i].modified > files[best].modified) best = i;
    return best;
}

} // namespace registro
