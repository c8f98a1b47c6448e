#pragma once

#include "platform/RuntimeError.h"

#include <QtGlobal>

// The fraction search as it was first written, one step at a time: the reference that the
// fast search is held to (tests) and measured against (benchmarks).

// The stepping loop, from a pair on its path: numerator and denominator hold the pair it has
// reached. Started from 1 and 1 it is the whole stepping search.
inline void continueStepping(double value, qint32 &numerator, qint32 &denominator)
{
    double q = double(numerator) / double(denominator);
    while (q < value || q > value) {
        if (q < value) {
            numerator = platform::add32(numerator, 1);
        } else {
            denominator = platform::add32(denominator, 1);
            numerator = platform::toInt32(platform::checkedDouble(value * denominator));
        }
        q = double(numerator) / double(denominator);
    }
}

inline void steppingSearch(double value, qint32 &numerator, qint32 &denominator)
{
    numerator = 1;
    denominator = 1;
    continueStepping(value, numerator, denominator);
}
