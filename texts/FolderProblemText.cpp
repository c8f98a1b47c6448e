#include "FolderProblemText.h"

#include <QDir>

namespace texts {

QString folderProblemText(FolderProblem problem, const QString &folder)
{
    const QString path = QDir::toNativeSeparators(folder);
    switch (problem) {
    case FolderProblem::None:
        return {};
    case FolderProblem::Missing:
        return QStringLiteral("La cartella %1 non esiste.").arg(path);
    case FolderProblem::NotAFolder:
        return QStringLiteral("%1 non è una cartella.").arg(path);
    case FolderProblem::Unreadable:
        return QStringLiteral("La cartella %1 non si può leggere.").arg(path);
    case FolderProblem::Unreachable:
        return QStringLiteral("La cartella %1 non è più raggiungibile.").arg(path);
    }
    return {};
}

QString schoolSettingNote(const QString &source)
{
    return QStringLiteral(" È la cartella indicata dalle impostazioni della scuola (%1).")
        .arg(QDir::toNativeSeparators(source));
}

} // namespace texts
