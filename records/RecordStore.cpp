#include "RecordStore.h"

#include "SingleByteText.h"
#include "platform/PlainFiles.h"

#include <QDir>

#include <cerrno>

namespace records {

namespace files = platform::files;

namespace {

using Step = Failure::Step;

Failure fileFailure(Step step, const QString &path, files::FileError error)
{
    return Failure{step, path, error, {}};
}

// The file is created, empty, when missing; an existing file is left unchanged.
std::optional<Failure> ensureExists(const QString &path)
{
    if (const files::FileError error = files::createIfMissing(nativeFilePath(path)))
        return fileFailure(Step::CreateFile, path, error);
    return std::nullopt;
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
        record.failure = ensureExists(path);
        if (record.failure) return record;
    }
    TextFileRead score = Leggifiletxt(recordScorePath());
    TextFileRead holder = score.failure ? TextFileRead() : Leggifiletxt(recordHolderPath());
    if (score.failure || holder.failure)
        return {QString(), QString(), score.failure ? score.failure : holder.failure};
    return {score.text, holder.text, std::nullopt};
}

std::optional<Failure> RecordStore::rewriteRecordFile(const QString &path,
                                                      const QString &line) const
{
    if (hasControlCharacters(line)) return fileFailure(Step::RefuseLine, path, {});
    // Written beside the old file and renamed over it: the record is never left empty or
    // half-written, whatever happens in between.
    if (const files::FileError error =
            files::replaceWhole(nativeFilePath(path), encodeLine(line).toStdString()))
        return fileFailure(Step::WriteFile, path, error);
    return std::nullopt;
}

std::optional<Failure> RecordStore::appendLine(const QString &path, const QString &line) const
{
    if (hasControlCharacters(line)) return fileFailure(Step::RefuseLine, path, {});
    files::AppendFile file;
    files::FileError error = file.open(nativeFilePath(path));
    // One write of the whole line, so a line never mixes with another copy's line.
    if (!error) error = file.append(encodeLine(line).toStdString());
    if (error) return fileFailure(Step::WriteFile, path, error);
    return std::nullopt;
}

FinishOutcome RecordStore::finishGame(const FinishedGame &game, LockWatch &watch) const
{
    FinishOutcome outcome;
    FolderLock lock(m_directory, watch);
    outcome.failure = lock.lock();
    if (outcome.failure) return outcome;

    outcome.line = classLogLine(game.summary, LogForm::RecordStands);
    const QString logPath = classLogPath(game.className);
    if (hasControlCharacters(outcome.line)) {
        outcome.failure = fileFailure(Step::RefuseLine, logPath, {});
        return outcome;
    }
    // The class log first: a log that cannot be opened (a bad name, a link, no permission)
    // stops here, before a new record is stored without its game's line.
    files::AppendFile log;
    if (const files::FileError error = log.open(nativeFilePath(logPath))) {
        outcome.failure = fileFailure(Step::WriteFile, logPath, error);
        return outcome;
    }

    // The record as the file holds it now: another copy may have beaten it since we loaded.
    // A missing record file holds no record.
    std::string recordBytes;
    const files::FileError readFailure =
        files::readHead(nativeFilePath(recordScorePath()), size_t(TextFileReadLimit), recordBytes);
    if (readFailure && readFailure != files::FileError::system(ENOENT)) {
        outcome.failure = fileFailure(Step::ReadFile, recordScorePath(), readFailure);
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
                outcome.failure = fileFailure(Step::WriteFile, path, kind);
                return outcome;
            }
        }
        outcome.failure = rewriteRecordFile(recordScorePath(), game.summary.correct);
        outcome.recordStored = outcome.recordStored || !outcome.failure;
        if (!outcome.failure)
            outcome.failure = rewriteRecordFile(recordHolderPath(), game.summary.name);
        if (outcome.failure) return outcome;
    }
    if (const files::FileError failure = log.append(encodeLine(outcome.line).toStdString()))
        outcome.failure = fileFailure(Step::WriteFile, logPath, failure);
    return outcome;
}

} // namespace records
