#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace registro {

// One class log in the data directory.
struct ClassLogFile {
    QString className; // the file name without ".txt" ("3A")
    QString fileName;  // "3A.txt"
    QString path;      // absolute
    QDateTime modified;
    qint64 size = 0;

    QString displayName() const; // "(classe senza nome)" for ".txt"
};

// True for the record score and record holder files, which are not class logs.
bool isRecordFile(const QString &fileName);

// The class logs of `directory`: every plain *.txt file except the two record files,
// ordered by class name. Nothing is created or written.
QList<ClassLogFile> listClassLogs(const QString &directory);

// The most recently modified of `files` (the class playing now), or -1 when empty.
int mostRecent(const QList<ClassLogFile> &files);

} // namespace registro
