#pragma once

// Why the register cannot list the data folder it was given, and the sentence the teacher
// reads for it in place of the folder's name.

#include <QString>

namespace texts {

enum class FolderProblem {
    None,
    Missing,     // nothing by that name, or no name at all
    NotAFolder,  // a file stands there
    Unreadable,  // the folder may not be listed
    Unreachable, // it was there and has gone, as a shared folder does when the network drops
};

// "La cartella /srv/solfira non esiste.", the path as the system writes it; empty for None.
QString folderProblemText(FolderProblem problem, const QString &folder);

// Said after a problem with a data folder that the school's setting names, `source` being where
// that setting is kept: " È la cartella indicata dalle impostazioni della scuola
// (/etc/solfira.conf)."
QString schoolSettingNote(const QString &source);

} // namespace texts
