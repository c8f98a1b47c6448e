#include "RuntimeError.h"

#include <cmath>
#include <limits>

namespace platform {

namespace {

// Each numbered error's words: the Italian description a user reads, the English what().
struct Words {
    int number;
    const char *description;
    const char *what;
};
constexpr Words Known[] = {
    {RuntimeError::InvalidArgument, "Chiamata di procedura o argomento non validi",
     "runtime error 5: invalid argument"},
    {RuntimeError::Overflow, "Overflow", "runtime error 6: overflow"},
    {RuntimeError::DivisionByZero, "Divisione per zero", "runtime error 11: division by zero"},
    {RuntimeError::TypeMismatch, "Tipo non corrispondente", "runtime error 13: type mismatch"},
};
constexpr Words Other = {0, "Errore definito dall'applicazione", "runtime error"};

const Words &wordsOf(int number)
{
    for (const Words &words : Known)
        if (words.number == number) return words;
    return Other;
}

} // namespace

QString RuntimeError::description() const
{
    return QString::fromUtf8(wordsOf(m_number).description);
}

const char *RuntimeError::what() const noexcept
{
    return wordsOf(m_number).what;
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
