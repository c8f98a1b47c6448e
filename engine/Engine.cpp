#include "Engine.h"

#include "platform/Conversions.h"
#include "platform/RuntimeError.h"

#include <cmath>

using platform::RuntimeError;

namespace engine {

namespace {

// The decimal part's fraction in lowest terms, as plain digit texts.
struct DecimalPart {
    QString numerator;
    QString denominator;
};

// Digits after the separator, read as a terminating decimal: "25" gives 1 and 4.
DecimalPart terminatingPart(const QString &digits, const platform::NumberLocale &locale)
{
    const qint32 d = platform::readInt32(digits, locale);
    const qint32 p =
        platform::readInt32(QStringLiteral("1") + QString(digits.size(), u'0'), locale);
    const qint32 g = fattcom(p, d);
    return {platform::numberToText(platform::divide(d, g), locale),
            platform::numberToText(platform::divide(p, g), locale)};
}

// Digits after the separator whose last `repeating` digits repeat without end:
// x = 0.D, so x * 10^k - x = f2 * 10^k - f with f2 = 0.D followed once more by its
// repeating digits; scaled by 10^(non-repeating digits) both sides are whole.
DecimalPart repeatingPart(QString digits, int repeating, const platform::NumberLocale &locale)
{
    if (digits.size() < repeating) digits = digits.leftJustified(repeating, u'0');
    const QString f = QStringLiteral("0.") + digits;
    const QString f2 = f + digits.right(repeating);
    const int nonRepeating = int(digits.size()) - repeating;
    const double scale = std::pow(10.0, nonRepeating);
    const double tenK = std::pow(10.0, repeating);
    const double fValue = platform::readLeadingNumber(f);
    const double f2Value = platform::readLeadingNumber(f2);
    const qint32 num =
        platform::toInt32(platform::checkedDouble((f2Value * tenK - fValue) * scale));
    const qint32 den = platform::toInt32(platform::checkedDouble((tenK - 1) * scale));
    const qint32 g = fattcom(den, num);
    return {platform::numberToText(platform::divide(num, g), locale),
            platform::numberToText(platform::divide(den, g), locale)};
}

QString convert(WorkingFields &fields, const platform::LocaleSource &localeSource, double value,
                qint16 repeating)
{
    // 1. The separator is asked for before anything else.
    const qint32 separator = SeparatoreDecimali(localeSource);
    const platform::NumberLocale locale = localeSource.numberLocale();

    // 2-3. The value's text, split at the separator (or a "."); a whole number is done.
    const QString text = platform::numberToText(value, locale);
    qsizetype at = text.indexOf(QChar(char16_t(separator)));
    if (at < 0) at = text.indexOf(QLatin1Char('.'));
    if (at < 0) return text;

    // 4. Integer part and decimal digits; a negative value keeps its sign for the whole.
    const QString integerPart = text.left(at);
    const QString digits = text.mid(at + 1);
    const bool negative = integerPart.startsWith(QLatin1Char('-'));

    // 5-6. The decimal part in lowest terms.
    const DecimalPart part =
        repeating > 0 ? repeatingPart(digits, repeating, locale) : terminatingPart(digits, locale);

    // 7. The mixed form: "3+1/4", "+1/2" below 1, "-1-1/2" for -1,5, "-1/4" for -0,25.
    QString result;
    if (negative) {
        const QString magnitude = integerPart.mid(1);
        if (magnitude != QLatin1String("0")) result = QLatin1Char('-') + magnitude;
        result += QLatin1Char('-');
    } else {
        if (integerPart != QLatin1String("0")) result = integerPart;
        result += QLatin1Char('+');
    }
    result += part.numerator + QLatin1Char('/') + part.denominator;

    // 8. The boxes hold the sum integer/1 + numerator/denominator. For a negative value the
    // decimal part's numerator carries the sign, so the sum is the value itself.
    fields.setBoxText(Box::Text1, integerPart);
    fields.setBoxText(Box::Text2, QStringLiteral("1"));
    fields.setBoxText(Box::Text5, negative ? QLatin1Char('-') + part.numerator : part.numerator);
    fields.setBoxText(Box::Text6, part.denominator);

    // 9. What step 8 wrote is what this step reads back.
    const double t1 = platform::readNumber(fields.boxText(Box::Text1), locale);
    const double t2 = platform::readNumber(fields.boxText(Box::Text2), locale);
    const double t5 = platform::readNumber(fields.boxText(Box::Text5), locale);
    const double t6 = platform::readNumber(fields.boxText(Box::Text6), locale);
    fields.setBoxText(Box::Text9,
                      platform::numberToText(platform::checkedDouble(t1 * t6 + t5 * t2), locale));
    fields.setBoxText(Box::Text10,
                      platform::numberToText(platform::checkedDouble(t6 * t2), locale));

    // 10-12. The improper fraction's value, searched back into lowest terms.
    const double v = platform::divide(platform::readLeadingNumber(fields.boxText(Box::Text9)),
                                      platform::readLeadingNumber(fields.boxText(Box::Text10)));
    Cercafrazione(v, fields.numeratore(), fields.denominatore());
    fields.setBoxText(Box::Text9, QString::number(fields.numeratore()));
    fields.setBoxText(Box::Text10, QString::number(fields.denominatore()));

    // 13.
    fields.setAnswerEnabled(true);
    fields.setNextEnabled(false);
    return result;
}

} // namespace

QString Numeroafrazione(WorkingFields &fields, const platform::LocaleSource &locale,
                        const double &Valoredoppio, const qint16 &DigitateRt)
{
    try {
        return convert(fields, locale, Valoredoppio, DigitateRt);
    } catch (const RuntimeError &error) {
        return QStringLiteral("#Error ") + QString::number(error.number());
    }
}

qint32 SeparatoreDecimali(const platform::LocaleSource &locale)
{
    const QString separator = locale.numberLocale().decimal;
    // A separator that does not fit the one-character buffer, or an empty one, is refused.
    if (separator.size() != 1) throw RuntimeError(RuntimeError::InvalidArgument);
    const qint32 code = separator.at(0).unicode();
    return code == 0 ? 46 : code;
}

qint32 fattcom(qint32 a, qint32 b)
{
    if (a == std::numeric_limits<qint32>::min() || b == std::numeric_limits<qint32>::min())
        throw RuntimeError(RuntimeError::Overflow);
    qint32 x = a < 0 ? -a : a;
    qint32 y = b < 0 ? -b : b;
    if (y == 0) throw RuntimeError(RuntimeError::DivisionByZero);
    qint32 r = x % y;
    while (r > 0) {
        x = y;
        y = r;
        r = x % y;
    }
    return y;
}

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
