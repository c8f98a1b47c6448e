#include "Conversions.h"

#include "RuntimeError.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace platform {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Every text-to-number and number-to-text step below goes through <charconv>, which never
// looks at the C library's locale: Qt sets LC_NUMERIC from the user's environment, and on an
// Italian system the C library's own reading of "8.90" would give 8.

// A plain decimal text ("-12.5", "3e-7", optional sign, "." as the point) to a double.
// Out of range it gives an infinity (too large) or zero (too small), keeping the sign.
double parseDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return 0.0;
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // The power of ten of the first significant digit tells which way it left the range.
        const size_t e = text.find_first_of("eE");
        const std::string_view mantissa = text.substr(0, e);
        long long order = 0;
        if (e != std::string_view::npos) {
            std::string_view exponent = text.substr(e + 1);
            const bool negativeExponent = !exponent.empty() && exponent.front() == '-';
            if (!exponent.empty() && (exponent.front() == '+' || exponent.front() == '-'))
                exponent.remove_prefix(1);
            const auto result =
                std::from_chars(exponent.data(), exponent.data() + exponent.size(), order);
            if (result.ec == std::errc::result_out_of_range)
                order = std::numeric_limits<int>::max();
            order = std::min<long long>(order, std::numeric_limits<int>::max());
            if (negativeExponent) order = -order;
        }
        const size_t point = std::min(mantissa.find('.'), mantissa.size());
        const size_t first = mantissa.find_first_not_of("0.");
        if (first != std::string_view::npos)
            order += first < point ? static_cast<long long>(point - first)
                                   : 1 - static_cast<long long>(first - point);
        value = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

// The 15 significant digits of |value| and the power of ten of the first one:
// 3.25 gives "325000000000000" and 0.
void significantDigits(double value, std::string &digits, int &exponent)
{
    char buf[40];
    const auto result =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    // d.dddddddddddddde±xx
    const std::string_view text(buf, size_t(result.ptr - buf));
    digits.assign(1, text[0]);
    digits.append(text.substr(2, 14));
    std::string_view power = text.substr(text.find('e') + 1);
    if (!power.empty() && power.front() == '+') power.remove_prefix(1);
    std::from_chars(power.data(), power.data() + power.size(), exponent);
}

} // namespace

NumberLocale NumberLocale::fromLocale(const QLocale &locale)
{
    return NumberLocale{locale.decimalPoint()};
}

QString numberToText(double value, const NumberLocale &locale)
{
    checkedDouble(value);
    if (value == 0.0) return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15).toUpper();
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0) text.replace(point, 1, locale.decimal);
    return text;
}

double readNumber(const QString &text, const NumberLocale &locale)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    // The number's characters, copied into `plain` as they are read.
    std::string plain;
    qsizetype i = begin;
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < end && isDigit(text[i]))
            plain += char(text[i++].unicode());
        return i - start;
    };
    const auto sign = [&] {
        if (i < end && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            plain += char(text[i++].unicode());
    };
    sign();
    qsizetype mantissaDigits = digits();
    const QString &sep = locale.decimal;
    if (!sep.isEmpty() && QStringView(text).mid(i, end - i).startsWith(sep)) {
        i += sep.size();
        plain += '.';
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0) throw RuntimeError(RuntimeError::TypeMismatch);
    if (i < end && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        plain += 'e';
        ++i;
        sign();
        if (digits() == 0) throw RuntimeError(RuntimeError::TypeMismatch);
    }
    if (i != end) throw RuntimeError(RuntimeError::TypeMismatch);
    return checkedDouble(parseDecimal(plain));
}

qint32 readInt32(const QString &text, const NumberLocale &locale)
{
    return toInt32(readNumber(text, locale));
}

bool isPlainWholeNumber(const QString &text)
{
    QStringView t = QStringView(text).trimmed();
    if (t.startsWith(QLatin1Char('+'))) t = t.mid(1);
    if (t.isEmpty()) return false;
    for (QChar c : t)
        if (!isDigit(c)) return false;
    return true;
}

double readLeadingNumber(QStringView text)
{
    std::string plain;
    bool signAllowed = true, pointSeen = false;
    for (QChar c : text) {
        if (isBlank(c) || c == QLatin1Char('\n')) continue;
        if (signAllowed && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            plain += char(c.unicode());
            signAllowed = false;
        } else if (isDigit(c)) {
            plain += char(c.unicode());
            signAllowed = false;
        } else if (c == QLatin1Char('.') && !pointSeen) {
            plain += '.';
            pointSeen = true;
            signAllowed = false;
        } else {
            break;
        }
    }
    const double value = parseDecimal(plain);
    return std::isfinite(value) ? value : 0.0;
}

QString roundedText(double value, int decimals, const NumberLocale &locale)
{
    checkedDouble(value);
    std::string digits;
    int exponent = 0;
    significantDigits(value, digits, exponent);

    // Keep the digits down to the last wanted decimal; the next one decides the rounding.
    const int keep = exponent + 1 + decimals;
    std::string kept;
    char next = '0';
    if (keep > 0) {
        kept = digits.substr(0, std::min<size_t>(size_t(keep), digits.size()));
        kept.resize(size_t(keep), '0');
        if (size_t(keep) < digits.size()) next = digits[size_t(keep)];
    } else if (keep == 0) {
        next = digits[0];
    }
    if (next >= '5') {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept[size_t(i)] == '9')
            kept[size_t(i--)] = '0';
        if (i >= 0)
            ++kept[size_t(i)];
        else
            kept.insert(kept.begin(), '1');
    }
    while (kept.size() < size_t(decimals) + 1)
        kept.insert(kept.begin(), '0');
    std::string whole = kept.substr(0, kept.size() - size_t(decimals));
    const std::string fraction = kept.substr(kept.size() - size_t(decimals));
    const size_t firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);

    const bool isZero = kept.find_first_not_of('0') == std::string::npos;
    QString text = (value < 0 && !isZero) ? QStringLiteral("-") : QString();
    text += QString::fromLatin1(whole.c_str());
    if (decimals > 0) text += locale.decimal + QString::fromLatin1(fraction.c_str());
    return text;
}

QString formatNumber(double value, QStringView pattern, const NumberLocale &locale)
{
    if (pattern == u"#0.0") return roundedText(value, 1, locale);
    if (pattern == u"#0.#0") return roundedText(value, 2, locale);
    if (pattern == u"###0" || pattern == u"####0") return roundedText(value, 0, locale);
    if (pattern == u"00") {
        QString text = roundedText(value, 0, locale);
        const bool negative = text.startsWith(QLatin1Char('-'));
        if (negative) text.remove(0, 1);
        text = text.rightJustified(2, QLatin1Char('0'));
        return negative ? QLatin1Char('-') + text : text;
    }
    throw RuntimeError(RuntimeError::InvalidArgument);
}

} // namespace platform
