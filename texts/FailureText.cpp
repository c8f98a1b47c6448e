#include "FailureText.h"

#include "platform/PlainFiles.h"
#include "records/RecordStore.h"

#include <QDir>

#include <cerrno>

namespace {

using platform::files::FileError;
using Step = records::Failure::Step;

// The reasons for the system's errors seen on a shared folder; any other is told by its
// number and the system's own words.
struct Reason {
    int code;
    const char *text;
};
constexpr Reason Reasons[] = {
    {ENOSPC, "spazio esaurito sul disco"},
#ifdef EDQUOT
    {EDQUOT, "spazio concesso sul disco esaurito (quota)"},
#endif
    {EACCES, "permesso negato"},
    {EPERM, "permesso negato"},
    {EROFS, "il disco è in sola lettura"},
    {ENOENT, "il file o la cartella non esiste"},
    {ENOTDIR, "il percorso non porta a una cartella"},
    {EISDIR, "è una cartella"},
    {ENAMETOOLONG, "nome del file troppo lungo"},
    {EFBIG, "il file è troppo grande"},
    {EIO, "errore di lettura o scrittura sul disco"},
    {EMFILE, "troppi file aperti"},
    {ENFILE, "troppi file aperti"},
    {EBUSY, "il file è in uso"},
    {ETXTBSY, "il file è in uso"},
    {ELOOP, "troppi collegamenti nel percorso"},
    {EINVAL, "nome del file non valido"},
    {EEXIST, "il file esiste già"},
#ifdef ESTALE
    {ESTALE, "la cartella di rete non è più raggiungibile"},
#endif
};

QString systemErrorText(int code)
{
    for (const Reason &reason : Reasons)
        if (reason.code == code) return QString::fromUtf8(reason.text);
    return QStringLiteral("errore di sistema %1 (%2)")
        .arg(code)
        .arg(QString::fromLocal8Bit(platform::files::systemText(code).c_str()));
}

// "<action> il file <path>:\n<reason>"
QString fileStepText(const char *action, const QString &path, const QString &reason)
{
    return QStringLiteral("%1 il file %2:\n%3")
        .arg(QLatin1String(action), QDir::toNativeSeparators(path), reason);
}

// What stopped a read of a class log; the register puts it after its own words.
QString classLogText(const records::Failure &failure)
{
    if (failure.error == FileError::system(ENOENT)) return QStringLiteral("il file non esiste più");
    if (failure.error.notRegular()) return QStringLiteral("non è un file di testo");
    return QStringLiteral("impossibile aprire il file: %1").arg(failure.systemText);
}

} // namespace

namespace texts {

QString fileErrorText(FileError error)
{
    // What stood there instead of a regular file, in the order of FileError::Kind.
    static constexpr const char *NotRegular[] = {
        "non è un file normale ma un collegamento, che Solfira non segue",
        "non è un file normale ma una cartella",
        "non è un file normale (è una pipe, un dispositivo o un socket)",
    };
    if (error.notRegular()) return QString::fromUtf8(NotRegular[error.kind - FileError::Link]);
    return systemErrorText(error.code);
}

QString failureText(const records::Failure &failure)
{
    const QString path = QDir::toNativeSeparators(failure.path);
    switch (failure.step) {
    case Step::CreateFile:
        return fileStepText("Impossibile creare", failure.path, fileErrorText(failure.error));
    case Step::ReadFile:
        return fileStepText("Impossibile leggere", failure.path, fileErrorText(failure.error));
    case Step::WriteFile:
        return fileStepText("Impossibile scrivere", failure.path, fileErrorText(failure.error));
    case Step::RefuseLine:
        return fileStepText("Impossibile scrivere", failure.path,
                            QStringLiteral("la riga contiene caratteri di controllo (a capo, "
                                           "tabulazioni...) e non viene scritta"));
    case Step::LockFolder:
        return QStringLiteral("Impossibile bloccare la cartella dei dati %1 per registrare la "
                              "partita: non vi si può creare il file %2:\n%3.")
            .arg(path, QLatin1String(records::LockFileName),
                 failure.error ? fileErrorText(failure.error)
                               : QStringLiteral("motivo sconosciuto"));
    case Step::FolderBusy:
        return QStringLiteral("La cartella dei dati %1 è occupata da un'altra copia di Solfira: "
                              "riprova tra poco.")
            .arg(path);
    case Step::CreateFolder:
        return QStringLiteral("Impossibile creare la cartella dei dati %1").arg(path);
    case Step::ReachFolder:
        return QStringLiteral("La cartella dei dati %1 non è raggiungibile.").arg(path);
    case Step::OpenClassLog:
        return classLogText(failure);
    case Step::SeekClassLog:
        return QStringLiteral("impossibile leggere il file: %1").arg(failure.systemText);
    case Step::ReadClassLog:
        return QStringLiteral("errore di lettura: %1").arg(failure.systemText);
    }
    return {};
}

} // namespace texts
