#include "RecordFiles.h"

#include "platform/Conversions.h"
#include "platform/PlainFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>

#include <cerrno>
#include <limits>

namespace records {

namespace files = platform::files;

namespace {

QString describe(const QString &action, const QString &path, const QString &reason)
{
    return QStringLiteral("%1 il file %2:\n%3").arg(action, QDir::toNativeSeparators(path), reason);
}

std::string nativePath(const QString &path)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(path).toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString writeError(const QString &path, int error)
{
    return describe(QStringLiteral("Impossibile scrivere"), path, fileErrorText(error));
}

QString controlCharactersRefused(const QString &path)
{
    return describe(QStringLiteral("Impossibile scrivere"), path,
                    QStringLiteral("la riga contiene caratteri di controllo (a capo, "
                                   "tabulazioni...) e non viene scritta"));
}

// The file is created, empty, when missing; an existing file is left unchanged.
QString ensureExists(const QString &path)
{
    if (const int error = files::createIfMissing(nativePath(path)))
        return describe(QStringLiteral("Impossibile creare"), path, fileErrorText(error));
    return QString();
}

} // namespace

QString fileErrorText(int error)
{
    switch (error) {
    case files::IsLink:
        return QStringLiteral("non è un file normale ma un collegamento, che Solfira non segue");
    case files::IsDirectory:
        return QStringLiteral("non è un file normale ma una cartella");
    case files::IsSpecial:
        return QStringLiteral("non è un file normale (è una pipe, un dispositivo o un socket)");
    case ENOSPC:
        return QStringLiteral("spazio esaurito sul disco");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("spazio concesso sul disco esaurito (quota)");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("permesso negato");
    case EROFS:
        return QStringLiteral("il disco è in sola lettura");
    case ENOENT:
        return QStringLiteral("il file o la cartella non esiste");
    case ENOTDIR:
        return QStringLiteral("il percorso non porta a una cartella");
    case EISDIR:
        return QStringLiteral("è una cartella");
    case ENAMETOOLONG:
        return QStringLiteral("nome del file troppo lungo");
    case EFBIG:
        return QStringLiteral("il file è troppo grande");
    case EIO:
        return QStringLiteral("errore di lettura o scrittura sul disco");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("troppi file aperti");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("il file è in uso");
    case ELOOP:
        return QStringLiteral("troppi collegamenti nel percorso");
    case EINVAL:
        return QStringLiteral("nome del file non valido");
    case EEXIST:
        return QStringLiteral("il file esiste già");
#ifdef ESTALE
    case ESTALE:
        return QStringLiteral("la cartella di rete non è più raggiungibile");
#endif
    default:
        return QStringLiteral("errore di sistema %1 (%2)")
            .arg(error)
            .arg(QString::fromLocal8Bit(files::systemText(error).c_str()));
    }
}

QString Leggifiletxt(const QString &path, QString *error)
{
    std::string bytes;
    const int failure = files::readHead(nativePath(path), size_t(TextFileReadLimit), bytes);
    if (error)
        *error = failure
                     ? describe(QStringLiteral("Impossibile leggere"), path, fileErrorText(failure))
                     : QString();
    return decodeText(QByteArray::fromStdString(bytes));
}

double readRecordScore(const QString &text)
{
    const double record = platform::readLeadingNumber(text);
    return record > 99999 ? 0.0 : record;
}

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
    if (const int error = files::replaceWhole(nativePath(path), encodeLine(line).toStdString()))
        return writeError(path, error);
    return QString();
}

QString RecordStore::appendLine(const QString &path, const QString &line) const
{
    if (hasControlCharacters(line)) return controlCharactersRefused(path);
    files::AppendFile file;
    int error = file.open(nativePath(path));
    // One write of the whole line, so a line never mixes with another copy's line.
    if (!error) error = file.append(encodeLine(line).toStdString());
    return error ? writeError(path, error) : QString();
}

FinishOutcome RecordStore::finishGame(const FinishedGame &game) const
{
    FinishOutcome outcome;
    const QString lockPath = m_directory + QLatin1String(LockFileName);
    const auto cannotLock = [&](int error) {
        return QStringLiteral("Impossibile bloccare la cartella dei dati %1 per registrare la "
                              "partita: non vi si può creare il file %2:\n%3.")
            .arg(QDir::toNativeSeparators(m_directory), QLatin1String(LockFileName),
                 error ? fileErrorText(error) : QStringLiteral("motivo sconosciuto"));
    };
    // Something other than a lock file under its name would never go away by itself.
    if (const int kind = files::kindOf(nativePath(lockPath)); kind < 0) {
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
            outcome.error = cannotLock(files::probeDirectory(nativePath(m_directory), probe));
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
    if (const int error = log.open(nativePath(logPath))) {
        outcome.error = writeError(logPath, error);
        return outcome;
    }

    // The record as the file holds it now: another copy may have beaten it since we loaded.
    // A missing record file holds no record.
    std::string recordBytes;
    const int readFailure =
        files::readHead(nativePath(recordScorePath()), size_t(TextFileReadLimit), recordBytes);
    if (readFailure && readFailure != ENOENT) {
        outcome.error = describe(QStringLiteral("Impossibile leggere"), recordScorePath(),
                                 fileErrorText(readFailure));
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
            if (const int kind = files::kindOf(nativePath(path))) {
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
    if (const int failure = log.append(encodeLine(outcome.line).toStdString()))
        outcome.error = writeError(logPath, failure);
    return outcome;
}

} // namespace records
