#include "Cercafrazione.h"

#include "platform/RuntimeError.h"

#include <algorithm>
#include <cmath>
#include <limits>

using platform::RuntimeError;

namespace engine {

namespace {

// The stepping search, read as a whole. It climbs the numerator at denominator 1 up to the
// first whole number not below the value; from then on each denominator d = 2, 3, ... takes
// the numerator n(d) = value × d rounded (halves to even) and, when n(d)/d falls short of the
// value, n(d) + 1, which always passes it. It stops at the first d where n(d)/d equals the value
// as a double, or fails with error 6 at the first of:
//   - value × d rounding outside the 32-bit range (the pair left is the previous d's last
//     numerator with this d);
//   - n(d) = 2147483647 falling short of the value (left: 2147483647 and d);
//   - the denominator passing 2147483647 (left: the last numerator at 2147483647).
// Each is found directly: the first rounding outside the range by bisection (value × d only
// grows in magnitude with d), the first equal quotient as the fraction of smallest denominator
// among those that round to the value, found on its Stern–Brocot path. While value × d stays in
// the 32-bit range, a fraction m/d rounding to the value has m = n(d) (the product is within
// 2^-20 of m), so the stepping search stops exactly there and never sooner.

using Wide = qint64;
constexpr Wide kTop = std::numeric_limits<qint32>::max();
constexpr Wide kNone = kTop + 1; // "no such denominator up to 2147483647"

// value × d rounded, halves to even: the numerator the stepping search takes at d.
double roundedProduct(double value, Wide d)
{
    return std::nearbyint(value * double(d));
}

bool productOutOfRange(double value, Wide d)
{
    const double r = roundedProduct(value, d);
    return !(r >= -2147483648.0 && r <= 2147483647.0); // an infinite product too
}

// -1, 0, 1 as p/q, divided in double precision, falls below, on or above the value.
int compareQuotient(Wide p, Wide q, double value)
{
    const double quotient = double(p) / double(q);
    return quotient < value ? -1 : quotient > value ? 1 : 0;
}

// The first denominator from 2 on whose product leaves the 32-bit range, or kNone.
Wide firstProductOutOfRange(double value)
{
    if (!productOutOfRange(value, kTop)) return kNone;
    Wide low = 1, high = kTop; // out of range at high, in range below low + 1
    while (high - low > 1) {
        const Wide middle = low + (high - low) / 2;
        if (productOutOfRange(value, middle))
            high = middle;
        else
            low = middle;
    }
    return high;
}

struct Fraction {
    Wide p, q;
};

Fraction plus(Fraction a, Wide times, Fraction b)
{
    return {a.p + times * b.p, a.q + times * b.q};
}

// The smallest j in 1..limit with `side` * compareQuotient(from + j × toward) <= 0, or
// limit + 1: the first of the mediants from + toward, from + 2 toward, ... that is no longer on
// the side of `from` (side -1: below the value, +1: above). They move monotonically towards
// `toward`, so a galloping search followed by bisection finds it.
Wide firstMediantLeavingSide(Fraction from, Fraction toward, Wide limit, int side, double value)
{
    const auto stillOnSide = [&](Wide j) {
        const Fraction m = plus(from, j, toward);
        return compareQuotient(m.p, m.q, value) == side;
    };
    Wide inside = 0; // largest j known to be on the side
    Wide step = 1;
    while (step <= limit && stillOnSide(step)) {
        inside = step;
        step *= 2;
    }
    Wide outside = std::min(step, limit + 1); // smallest j known to leave, or limit + 1
    while (outside - inside > 1) {
        const Wide middle = inside + (outside - inside) / 2;
        if (stillOnSide(middle))
            inside = middle;
        else
            outside = middle;
    }
    return outside;
}

// The smallest denominator d <= limit with a whole m such that m/d, divided in double
// precision, equals `target` (positive, not whole), or kNone. The fractions that round to the
// target form an interval; its simplest fraction is the first node of the Stern–Brocot tree
// that lies in it, and no fraction of the interval has a smaller denominator. Runs of steps in
// one direction are taken at once.
Wide smallestDenominator(double target, Wide limit)
{
    const Wide whole = Wide(std::floor(target));
    Fraction below{whole, 1};
    Fraction above{whole + 1, 1};
    for (;;) {
        // Mediants below + j × above climb towards `above`.
        Wide room = (limit - below.q) / above.q;
        if (room < 1) return kNone;
        Wide j = firstMediantLeavingSide(below, above, room, -1, target);
        if (j > room) return kNone;
        Fraction m = plus(below, j, above);
        if (compareQuotient(m.p, m.q, target) == 0) return m.q;
        below = plus(below, j - 1, above);
        above = m;

        // Mediants above + k × below come down towards `below`.
        room = (limit - above.q) / below.q;
        if (room < 1) return kNone;
        j = firstMediantLeavingSide(above, below, room, 1, target);
        if (j > room) return kNone;
        m = plus(above, j, below);
        if (compareQuotient(m.p, m.q, target) == 0) return m.q;
        above = plus(above, j - 1, below);
        below = m;
    }
}

// The numerator the stepping search leaves at denominator d >= 2 when it goes on to d + 1.
Wide lastNumeratorAt(double value, Wide d)
{
    const Wide n = Wide(roundedProduct(value, d));
    return compareQuotient(n, d, value) < 0 ? n + 1 : n;
}

} // namespace

void Cercafrazione(double value, qint32 &numerator, qint32 &denominator)
{
    numerator = 1;
    denominator = 1;
    // An unordered comparison (a NaN value) counts as equal and ends the search.
    if (!(value < 1.0 || value > 1.0)) return;

    // Denominator 1: the numerator climbs one by one while it is below the value.
    Wide numeratorAtOne = 1;
    if (value > 1.0) {
        if (value > 2147483647.0) {
            numerator = std::numeric_limits<qint32>::max();
            throw RuntimeError(RuntimeError::Overflow);
        }
        numeratorAtOne = Wide(std::ceil(value));
        numerator = qint32(numeratorAtOne);
        if (double(numeratorAtOne) == value) return;
    }

    // Denominators 2, 3, ...: the first one where the search stops or fails.
    const Wide outOfRange = firstProductOutOfRange(value); // fails on entering it
    const Wide reachable = outOfRange - 1;                 // last denominator it can finish
    Wide equal = kNone; // the first denominator whose quotient equals the value
    if (reachable >= 2) {
        // Zero or a negative whole number is met at once by 2 × value over 2; a value with a
        // fraction to it by its smallest denominator (its negative rounds the same way).
        equal = value == std::floor(value) ? 2 : smallestDenominator(std::fabs(value), reachable);
    }

    // A numerator of 2147483647 that still falls short cannot take its + 1. Only the last few
    // denominators before the range ends can round to it.
    Wide stuck = kNone;
    if (value > 0) {
        Wide first = reachable + 1;
        while (first - 1 >= 2 && roundedProduct(value, first - 1) == 2147483647.0)
            --first;
        for (Wide d = first; d <= reachable && d < equal; ++d) {
            if (compareQuotient(kTop, d, value) < 0) {
                stuck = d;
                break;
            }
        }
    }

    if (equal < stuck && equal <= reachable) {
        denominator = qint32(equal);
        numerator = qint32(roundedProduct(value, equal));
        return;
    }
    if (stuck <= reachable) {
        denominator = qint32(stuck);
        numerator = std::numeric_limits<qint32>::max();
        throw RuntimeError(RuntimeError::Overflow);
    }
    if (outOfRange <= kTop) {
        // The product at outOfRange does not fit: the denominator has moved on, the numerator not.
        const Wide previous = outOfRange - 1;
        numerator = qint32(previous == 1 ? numeratorAtOne : lastNumeratorAt(value, previous));
        denominator = qint32(outOfRange);
        throw RuntimeError(RuntimeError::Overflow);
    }
    // Every denominator up to 2147483647 passed without a stop: the next one does not fit.
    numerator = qint32(lastNumeratorAt(value, kTop));
    denominator = std::numeric_limits<qint32>::max();
    throw RuntimeError(RuntimeError::Overflow);
}

} // namespace engine
