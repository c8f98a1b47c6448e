#include "RuntimeError.h"

#include <cmath>
#include <limits>

namespace platform {

QString RuntimeError::description() const
{
    switch (m_number) {
    case InvalidArgument:
        return QStringLiteral("Chiamata di procedura o argomento non validi");
    case Overflow:
        return QStringLiteral("Overflow");
    case DivisionByZero:
        return QStringLiteral("Divisione per zero");
    case TypeMismatch:
        return QStringLiteral("Tipo non corrispondente");
    default:
        return QStringLiteral("Errore definito dall'applicazione");
    }
}

const char *RuntimeError::what() const noexcept
{
    switch (m_number) {
    case InvalidArgument:
        return "runtime error 5: invalid argument";
    case Overflow:
        return "runtime error 6: overflow";
    case DivisionByZero:
        return "runtime error 11: division by zero";
    case TypeMismatch:
        return "runtime error 13: type mismatch";
    default:
        return "runtime error";
    }
}

qint16 add16(qint16 a, qint16 b)
{
    const int sum = int(a) + int(b);
    if (sum > std::numeric_limits<qint16>::max() || sum < std::numeric_limits<qint16>::min())
        throw RuntimeError(RuntimeError::Overflow);
    return qint16(sum);
}

qint32 add32(qint32 a, qint32 b)
{
    qint32 out;
    if (__builtin_add_overflow(a, b, &out)) throw RuntimeError(RuntimeError::Overflow);
    return out;
}

qint32 mul32(qint32 a, qint32 b)
{
    qint32 out;
    if (__builtin_mul_overflow(a, b, &out)) throw RuntimeError(RuntimeError::Overflow);
    return out;
}

qint32 toInt32(double value)
{
    // The default floating-point environment rounds to nearest, halves to even.
    const double r = std::nearbyint(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw RuntimeError(RuntimeError::Overflow);
    return qint32(r);
}

qint16 toInt16(double value)
{
    const double r = std::nearbyint(value);
    if (!(r >= -32768.0 && r <= 32767.0)) throw RuntimeError(RuntimeError::Overflow);
    return qint16(r);
}

double checkedDouble(double value)
{
    if (!std::isfinite(value)) throw RuntimeError(RuntimeError::Overflow);
    return value;
}

double divide(double a, double b)
{
    if (b == 0.0) throw RuntimeError(RuntimeError::DivisionByZero);
    return checkedDouble(a / b);
}

} // namespace platform
