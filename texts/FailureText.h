#pragma once

// The Italian words for a failed step, as the game's and the register's message boxes show
// them: the one place they are made. The game adds what happens next ("La gara continua
// senza il record."), the register what could not be done.

#include "records/Failure.h"

#include <QString>

namespace texts {

// "Impossibile scrivere il file C:\Solfira\3A.txt:\nspazio esaurito sul disco", the path as
// the system writes it.
QString failureText(const records::Failure &failure);

// The reason alone, for what the system said ("permesso negato"...).
QString fileErrorText(platform::files::FileError error);

} // namespace texts
