#pragma once

#include <QString>
#include <QtGlobal>

#include <exception>

namespace platform {

// The numbered errors the runtime raises. Only the fraction engine traps them (its
// result becomes "#Error " and the number); anywhere else one ends the program with a
// report (see reportFatalError).
class RuntimeError : public std::exception
{
public:
    enum Number { InvalidArgument = 5, Overflow = 6, DivisionByZero = 11, TypeMismatch = 13 };

    explicit RuntimeError(int number) : m_number(number) {}
    int number() const { return m_number; }
    // The Italian description of the error ("Overflow", "Divisione per zero"...).
    QString description() const;
    const char *what() const noexcept override;

private:
    int m_number;
};

// Integer arithmetic of the program's 16- and 32-bit variables: error 6 on overflow.
qint16 add16(qint16 a, qint16 b);
qint32 add32(qint32 a, qint32 b);
qint32 mul32(qint32 a, qint32 b);
// A double to a 32-bit integer, halves to the even neighbour; error 6 out of range or NaN.
qint32 toInt32(double value);
qint16 toInt16(double value);
// Double arithmetic that raises error 6 when the result overflows or is undefined,
// and error 11 on a division by zero.
double checkedDouble(double value);
double divide(double a, double b);

} // namespace platform
