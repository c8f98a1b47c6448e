#pragma once

// The fraction engine: a decimal number turned into its fraction, with the worked steps
// (Numeroafrazione.h), and the stepping search for the fraction of a double (Cercafrazione.h).
#include "Cercafrazione.h"
#include "Numeroafrazione.h"
