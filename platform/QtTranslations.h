#pragma once

#include <QLocale>
#include <QTranslator>

namespace platform {

// Loads Qt's own texts for `locale` (the dialogs' buttons, the command line's messages) into
// `translator` and installs it: the copy built into the program when it carries one (the
// Windows build does, under ":/translations"), else the one in Qt's translations folder.
// False, and nothing installed, when neither has that language.
bool installQtTranslation(QTranslator &translator, const QLocale &locale);

} // namespace platform
