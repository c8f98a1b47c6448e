#pragma once

#include <QtGlobal>

namespace engine {

// The fraction with the smallest denominator whose quotient equals `value` exactly, found
// by stepping; numerator and denominator are written at every step, so a search cut short
// by an error (6 when a number leaves the 32-bit range) leaves its last pair behind.
void Cercafrazione(double value, qint32 &numerator, qint32 &denominator);

} // namespace engine
