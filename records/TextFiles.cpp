#include "TextFiles.h"

#include "SingleByteText.h"
#include "platform/Conversions.h"
#include "platform/PlainFiles.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <limits>

namespace records {

namespace files = platform::files;

QString describeFileFailure(const QString &action, const QString &path, const QString &reason)
{
    return QStringLiteral("%1 il file %2:\n%3").arg(action, QDir::toNativeSeparators(path), reason);
}

std::string nativeFilePath(const QString &path)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(path).toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

QString fileErrorText(platform::files::FileError failure)
{
    switch (failure.kind) {
    case files::FileError::None:
    case files::FileError::System:
        break;
    case files::FileError::Link:
        return QStringLiteral("non è un file normale ma un collegamento, che Solfira non segue");
    case files::FileError::Directory:
        return QStringLiteral("non è un file normale ma una cartella");
    case files::FileError::Special:
        return QStringLiteral("non è un file normale (è una pipe, un dispositivo o un socket)");
    }
    const int error = failure.code;
    switch (error) {
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
    const files::FileError failure =
        files::readHead(nativeFilePath(path), size_t(TextFileReadLimit), bytes);
    if (error)
        *error = failure ? describeFileFailure(QStringLiteral("Impossibile leggere"), path,
                                               fileErrorText(failure))
                         : QString();
    return decodeText(QByteArray::fromStdString(bytes));
}

double readRecordScore(const QString &text)
{
    const double record = platform::readLeadingNumber(text);
    return record > 99999 ? 0.0 : record;
}

} // namespace records
