#pragma once

// The Italian sentence for a warning about a class log line, as the register lists it.

#include "records/ClassLogWarning.h"

#include <QString>

namespace texts {

// "Riga 12: data non riconosciuta: «ieri»"; the sentence alone for a line number of 0.
QString warningText(const records::ClassLogWarning &warning);

} // namespace texts
