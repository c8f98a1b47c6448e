#include "RecordFiles.h"

#include "platform/Conversions.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>

namespace records {

namespace {

QString describe(const QString &action, const QString &path, const QString &reason)
{
    return QStringLiteral("%1 il file %2:\n%3").arg(action, QDir::toNativeSeparators(path), reason);
}

// The file is created, empty, when missing; an existing file is left unchanged.
QString ensureExists(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::Append))
        return describe(QStringLiteral("Impossibile creare"), path, file.errorString());
    return QString();
}

} // namespace

QString Leggifiletxt(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = describe(QStringLiteral("Impossibile leggere"), path, file.errorString());
        return QString();
    }
    const QByteArray bytes = file.readAll();
    if (error)
        error->clear();
    return decodeText(bytes);
}

QString RecordStore::classLogPath(const QString &className) const
{
    return m_directory + classLogFileName(className);
}

StandingRecord RecordStore::prepare() const
{
    StandingRecord record;
    for (const QString &path : {recordScorePath(), recordHolderPath()}) {
        record.error = ensureExists(path);
        if (!record.error.isEmpty())
            return record;
    }
    QString error;
    record.score = Leggifiletxt(recordScorePath(), &error);
    if (error.isEmpty())
        record.holder = Leggifiletxt(recordHolderPath(), &error);
    if (!error.isEmpty())
        record = StandingRecord{QString(), QString(), error};
    return record;
}

QString RecordStore::rewriteRecordFile(const QString &path, const QString &line) const
{
    // Written beside the old file and renamed over it: the record is never left empty or
    // half-written, whatever happens in between.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encodeLine(line)) < 0 || !file.commit())
        return describe(QStringLiteral("Impossibile scrivere"), path, file.errorString());
    return QString();
}

QString RecordStore::appendLine(const QString &path, const QString &line) const
{
    QFile file(path);
    const QByteArray bytes = encodeLine(line);
    // One write of the whole line, so a line never mixes with another copy's line.
    if (!file.open(QIODevice::Append) || file.write(bytes) != bytes.size() || !file.flush())
        return describe(QStringLiteral("Impossibile scrivere"), path, file.errorString());
    return QString();
}

FinishOutcome RecordStore::finishGame(const FinishedGame &game) const
{
    FinishOutcome outcome;
    QLockFile lock(m_directory + QStringLiteral(".solfira.lock"));
    lock.setStaleLockTime(30000);
    if (!lock.tryLock(15000)) {
        outcome.error = QStringLiteral("La cartella dei dati %1 è occupata da un'altra copia "
                                       "di Solfira: riprova tra poco.")
                            .arg(QDir::toNativeSeparators(m_directory));
        return outcome;
    }

    // The record as the file holds it now: another copy may have beaten it since we loaded.
    QString error;
    const QString recordText = Leggifiletxt(recordScorePath(), &error);
    if (!error.isEmpty()) {
        QFile probe(recordScorePath());
        if (probe.exists()) {
            outcome.error = error;
            return outcome;
        }
    }
    const double record = platform::readLeadingNumber(recordText);

    // A retry after a failed step finds its own score in the file: the holder may still be
    // missing, so both files are written again.
    const bool beats = record < game.score || (game.recordStored && record == game.score);
    outcome.newRecord = beats || game.recordStored;
    outcome.recordStored = game.recordStored;
    if (beats) {
        outcome.error = rewriteRecordFile(recordScorePath(), game.summary.correct);
        outcome.recordStored = outcome.recordStored || outcome.error.isEmpty();
        if (outcome.error.isEmpty())
            outcome.error = rewriteRecordFile(recordHolderPath(), game.summary.name);
    }
    outcome.line = classLogLine(game.summary,
                                outcome.newRecord ? LogForm::NewRecord : LogForm::RecordStands);
    if (outcome.error.isEmpty())
        outcome.error = appendLine(classLogPath(game.className), outcome.line);
    return outcome;
}

} // namespace records
