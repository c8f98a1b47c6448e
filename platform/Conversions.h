#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

namespace platform {

// What the number conversions need to know of the user's locale. Its decimal separator
// is normally one character, but nothing guarantees it: the fraction engine refuses a
// separator that is empty or longer than one character.
struct NumberLocale {
    QString decimal = QStringLiteral(".");

    static NumberLocale fromLocale(const QLocale &locale);
    static NumberLocale system() { return fromLocale(QLocale::system()); }
};

// Number-to-text: locale separator, no grouping, at most 15 significant digits, no trailing
// zeros, "0" before the separator below 1, no separator for whole numbers. Very large or very
// small magnitudes come out in exponent form ("1E+15"). Error 6 for infinities and NaN.
QString numberToText(double value, const NumberLocale &locale);

// Locale reading: the whole text, blanks allowed around it, must be a number written with the
// locale's decimal separator (optional sign, digits, optional exponent). Error 13 when it is
// not; error 6 when it does not fit a double.
double readNumber(const QString &text, const NumberLocale &locale);
// The same, to a 32-bit integer rounded half to even; error 6 outside the 32-bit range.
qint32 readInt32(const QString &text, const NumberLocale &locale);
// True when the text is a plain whole number: digits only, with an optional leading "+", blanks
// allowed around them ("13", " +13 "; not "+ 13", "1 5", "3/2", "3+").
bool isPlainWholeNumber(const QString &text);

// Leading-number reading never fails: blanks are skipped wherever they stand, an optional sign
// is taken, then digits with "." as the only decimal point, up to the first character that
// cannot continue the number. "1,25" reads 1, "1 5" reads 15, "3/2" reads 3, "" reads 0.
double readLeadingNumber(QStringView text);

// The display patterns: "#0.0" and "#0.#0" (one or two decimals, at least one integer digit),
// "###0" and "####0" (a whole number, "0" for zero), "00" (a whole number of at least two
// digits). Rounding is half-up on the value's 15-significant-digit decimal text, so 1,125
// shows 1,13 and 2,675 shows 2,68. Any other pattern is error 5.
QString formatNumber(double value, QStringView pattern, const NumberLocale &locale);

// `value` rounded half-up to `decimals` places and written with exactly that many decimals.
QString roundedText(double value, int decimals, const NumberLocale &locale);

} // namespace platform
