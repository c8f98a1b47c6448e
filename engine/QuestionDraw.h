#pragma once

#include "platform/Conversions.h"
#include "platform/Services.h"

#include <QString>

#include <stdexcept>

namespace question {

// A working conversion reads a drawn number back as whole about once in twenty draws, so this
// many whole read-backs in a row only happen when reading numbers is broken: the draw then
// gives up with an error instead of spinning for ever.
inline constexpr int MaxDraws = 10000;

struct Drawn {
    double value = 0;
    QString caption; // the value as the pupil sees it, in the user's locale
};

using ReadBack = double (*)(const QString &text, const platform::NumberLocale &locale);

// Draws a number from 1 to 9 with one or two decimals until its display text does not read
// back as a whole number. Throws NoQuestion after MaxDraws draws.
Drawn draw(platform::Services &services, const platform::NumberLocale &locale,
           ReadBack readBack = &platform::readNumber);

class NoQuestion : public std::runtime_error
{
public:
    NoQuestion();
};

} // namespace question
