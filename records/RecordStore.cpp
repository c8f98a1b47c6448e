#include "RecordStore.h"

#include "SingleByteText.h"
#include "platform/PlainFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>

#include <cerrno>

namespace records {

namespace files = platform::files;

namespace {

QString writeError(const QString &path, files::FileError error)
{
    return describeFileFailure(QStringLiteral("Impossibile scrivere"), path, fileErrorText(error));
}

QString controlCharactersRefused(const QString &path)
{
    return describeFileFailure(QStringLiteral("Impossibile scrivere"), path,
                               QStringLiteral("la riga contiene caratteri di controllo (a capo, "
                                              "tabulazioni...) e non viene scritta"));
}

// The file is created, empty, when missing; an existing file is left unchanged.
QString ensureExists(const QString &path)
{
    if (const files::FileError error = files::createIfMissing(nativeFilePath(path)))
        return describeFileFailure(QStringLiteral("Impossibile creare"), path,
                                   fileErrorText(error));
    return QString();
}

} // namespace

QString RecordStore::classLogPath(const QString &className) const
{
    return m_directory + classLogFileName(className);
}

QString RecordStore::fittingClassName(const QString &className) const
{
#ifdef Q_OS_WIN
    // The whole path within MAX_PATH (260, the terminating NUL included).
    return records::fittingClassName(className, 259 - QDir::toNativeSeparators(m_directory).size());
#else
    return records::fittingClassName(className, std::numeric_limits<qsizetype>::max());
#endif
}

StandingRecord RecordStore::prepare() const
{
    StandingRecord record;
    for (const QString &path : {recordScorePath(), recordHolderPath()}) {
        record.error = ensureExists(path);
        if (!record.error.isEmpty()) return record;
    }
    QString error;
    record.score = Leggifiletxt(recordScorePath(), &error);
    if (error.isEmpty()) record.holder = Leggifiletxt(recordHolderPath(), &error);
    if (!error.isEmpty()) record = StandingRecord{QString(), QString(), error};
    return record;
}

QString RecordStore::rewriteRecordFile(const QString &path, const QString &line) const
{
    if (hasControlCharacters(line)) return controlCharactersRefused(path);
    // Written beside the old file and renamed over it: the record is never left empty or
    // half-written, whatever happens in between.
    if (const files::FileError error =
            files::replaceWhole(nativeFilePath(path), encodeLine(line).toStdString()))
        return writeError(path, error);
    return QString();
}

QString RecordStore::appendLine(const QString &path, const QString &line) const
{
    if (hasControlCharacters(line)) return controlCharactersRefused(path);
    files::AppendFile file;
    files::FileError error = file.open(nativeFilePath(path));
    // One write of the whole line, so a line never mixes with another copy's line.
    if (!error) error = file.append(encodeLine(line).toStdString());
    return error ? writeError(path, error) : QString();
}

FinishOutcome RecordStore::finishGame(const FinishedGame &game) const
{
    FinishOutcome outcome;
    const QString lockPath = m_directory + QLatin1String(LockFileName);
    const auto cannotLock = [&](files::FileError error) {
        return QStringLiteral("Impossibile bloccare la cartella dei dati %1 per registrare la "
                              "partita: non vi si può creare il file %2:\n%3.")
            .arg(QDir::toNativeSeparators(m_directory), QLatin1String(LockFileName),
                 error ? fileErrorText(error) : QStringLiteral("motivo sconosciuto"));
    };
    // Something other than a lock file under its name would never go away by itself.
    if (const files::FileError kind = files::kindOf(nativeFilePath(lockPath)); kind.notRegular()) {
        outcome.error = cannotLock(kind);
        return outcome;
    }
    QLockFile lock(lockPath);
    lock.setStaleLockTime(30000);
    if (!lock.tryLock(15000)) {
        if (lock.error() == QLockFile::LockFailedError) {
            outcome.error = QStringLiteral("La cartella dei dati %1 è occupata da un'altra copia "
                                           "di Solfira: riprova tra poco.")
                                .arg(QDir::toNativeSeparators(m_directory));
        } else {
            // No lock file can be made there at all: find out why, with a file of our own.
            const std::string probe = std::string(LockFileName) + "." +
                                      std::to_string(QCoreApplication::applicationPid()) + ".prova";
            outcome.error = cannotLock(files::probeDirectory(nativeFilePath(m_directory), probe));
        }
        return outcome;
    }

    outcome.line = classLogLine(game.summary, LogForm::RecordStands);
    const QString logPath = classLogPath(game.className);
    if (hasControlCharacters(outcome.line)) {
        outcome.error = controlCharactersRefused(logPath);
        return outcome;
    }
    // The class log first: a log that cannot be opened (a bad name, a link, no permission)
    // stops here, before a new record is stored without its game's line.
    files::AppendFile log;
    if (const files::FileError error = log.open(nativeFilePath(logPath))) {
        outcome.error = writeError(logPath, error);
        return outcome;
    }

    // The record as the file holds it now: another copy may have beaten it since we loaded.
    // A missing record file holds no record.
    std::string recordBytes;
    const files::FileError readFailure =
        files::readHead(nativeFilePath(recordScorePath()), size_t(TextFileReadLimit), recordBytes);
    if (readFailure && readFailure != files::FileError::system(ENOENT)) {
        outcome.error = describeFileFailure(QStringLiteral("Impossibile leggere"),
                                            recordScorePath(), fileErrorText(readFailure));
        return outcome;
    }
    const QString recordText = decodeText(QByteArray::fromStdString(recordBytes));
    const double record = readRecordScore(recordText);

    // A retry after a failed step finds its own score in the file: the holder may still be
    // missing, so both files are written again.
    const bool beats = record < game.score || (game.recordStored && record == game.score);
    outcome.newRecord = beats || game.recordStored;
    outcome.recordStored = game.recordStored;
    if (outcome.newRecord) outcome.line = classLogLine(game.summary, LogForm::NewRecord);
    if (beats) {
        // Both record files are looked at before either is replaced, so a record is never
        // stored without its holder.
        for (const QString &path : {recordScorePath(), recordHolderPath()}) {
            if (const files::FileError kind = files::kindOf(nativeFilePath(path))) {
                outcome.error = writeError(path, kind);
                return outcome;
            }
        }
        outcome.error = rewriteRecordFile(recordScorePath(), game.summary.correct);
        outcome.recordStored = outcome.recordStored || outcome.error.isEmpty();
        if (outcome.error.isEmpty())
            outcome.error = rewriteRecordFile(recordHolderPath(), game.summary.name);
        if (!outcome.error.isEmpty()) return outcome;
    }
    if (const files::FileError failure = log.append(encodeLine(outcome.line).toStdString()))
        outcome.error = writeError(logPath, failure);
    return outcome;
}

} // namespace records
