#include "Numeroafrazione.h"

#include "Cercafrazione.h"

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
    // The separator first: a locale without a usable one fails before any box is written.
    const qint32 separator = SeparatoreDecimali(localeSource);
    const platform::NumberLocale locale = localeSource.numberLocale();

    // The value's text, split at the separator (or a "."); a whole number is done.
    const QString text = platform::numberToText(value, locale);
    qsizetype at = text.indexOf(QChar(char16_t(separator)));
    if (at < 0) at = text.indexOf(QLatin1Char('.'));
    if (at < 0) return text;

    // Integer part and decimal digits; a negative value keeps its sign for the whole.
    const QString integerPart = text.left(at);
    const QString digits = text.mid(at + 1);
    const bool negative = integerPart.startsWith(QLatin1Char('-'));

    // The decimal part in lowest terms.
    const DecimalPart part =
        repeating > 0 ? repeatingPart(digits, repeating, locale) : terminatingPart(digits, locale);

    // The mixed form: "3+1/4", "+1/2" below 1, "-1-1/2" for -1,5, "-1/4" for -0,25.
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

    // The boxes hold the sum integer/1 + numerator/denominator. For a negative value the
    // decimal part's numerator carries the sign, so the sum is the value itself.
    fields.setBoxText(Box::Text1, integerPart);
    fields.setBoxText(Box::Text2, QStringLiteral("1"));
    fields.setBoxText(Box::Text5, negative ? QLatin1Char('-') + part.numerator : part.numerator);
    fields.setBoxText(Box::Text6, part.denominator);

    // The improper fraction is summed from the boxes' texts as just written, not from the
    // numbers above: the sum is the one the boxes show.
    const double t1 = platform::readNumber(fields.boxText(Box::Text1), locale);
    const double t2 = platform::readNumber(fields.boxText(Box::Text2), locale);
    const double t5 = platform::readNumber(fields.boxText(Box::Text5), locale);
    const double t6 = platform::readNumber(fields.boxText(Box::Text6), locale);
    fields.setBoxText(Box::Text9,
                      platform::numberToText(platform::checkedDouble(t1 * t6 + t5 * t2), locale));
    fields.setBoxText(Box::Text10,
                      platform::numberToText(platform::checkedDouble(t6 * t2), locale));

    // The improper fraction's value, searched back into lowest terms.
    const double v = platform::divide(platform::readLeadingNumber(fields.boxText(Box::Text9)),
                                      platform::readLeadingNumber(fields.boxText(Box::Text10)));
    Cercafrazione(v, fields.numeratore(), fields.denominatore());
    fields.setBoxText(Box::Text9, QString::number(fields.numeratore()));
    fields.setBoxText(Box::Text10, QString::number(fields.denominatore()));

    // Ready for the pupil's answer; no new question until it is given.
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

} // namespace engine
