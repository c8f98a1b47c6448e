#pragma once

#include "platform/Services.h"

#include <QString>
#include <QtGlobal>

namespace engine {

// The six hidden working boxes of the window.
enum class Box { Text1, Text2, Text5, Text6, Text9, Text10 };

// What the engine reads and writes of the window: the working boxes, the solution
// variables and the enabled state of the answer box and of the new-question button.
// The window implements it with its hidden controls; tests with a plain struct.
class WorkingFields
{
public:
    virtual ~WorkingFields() = default;
    virtual QString boxText(Box box) const = 0;
    virtual void setBoxText(Box box, const QString &text) = 0;
    virtual qint32 &numeratore() = 0;
    virtual qint32 &denominatore() = 0;
    virtual void setAnswerEnabled(bool enabled) = 0; // txtAnswer
    virtual void setNextEnabled(bool enabled) = 0;   // cmdNext
};

// Converts a decimal number into the text of its fraction ("3+1/4" for 3,25), writes the
// worked steps into the boxes (3/1 plus 1/4 gives 13/4) and leaves the reduced improper
// fraction in numeratore/denominatore. A whole number returns its own text and touches
// nothing. A positive DigitateRt reads the last DigitateRt decimals as repeating without
// end (0,3 with 1 gives 1/3). Any error inside becomes the result "#Error " and its number;
// whatever was written before it stays written.
QString Numeroafrazione(WorkingFields &fields, const platform::LocaleSource &locale,
                        const double &Valoredoppio, const qint16 &DigitateRt);

// The character code of the user's decimal separator, asked afresh on every call; 46 (".")
// when the system gives none. Error 5 when the separator is not exactly one character.
qint32 SeparatoreDecimali(const platform::LocaleSource &locale);

// Greatest common divisor by Euclid, on absolute values, b the first divisor:
// fattcom(0, b) = |b|; fattcom(a, 0) is error 11; an argument of -2147483648 is error 6.
qint32 fattcom(qint32 a, qint32 b);

} // namespace engine
