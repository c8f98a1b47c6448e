#include "ClassLogWarningText.h"

#include "records/ClassLogFormat.h"
#include "records/ClassLogStreamParser.h"

namespace texts {

namespace {

using records::ClassLogWarning;
using records::DateOrder;
using records::LineField;
using Kind = ClassLogWarning::Kind;

// A piece of the file as a warning quotes it.
QString quoted(QStringView text)
{
    return QStringLiteral("«%1»").arg(text);
}

// What the line should hold where it stops or holds something else.
QString fieldName(LineField field)
{
    using namespace records::logformat;
    switch (field) {
    case LineField::CorrectTitle:
        return CorrectWord.toString();
    case LineField::CorrectCount:
        return QStringLiteral("il numero di risposte esatte");
    case LineField::WrongTitle:
        return WrongWord.toString();
    case LineField::WrongCount:
        return QStringLiteral("il numero di risposte errate");
    case LineField::TimeTitle:
        return TimeWord.toString();
    case LineField::DateWord:
        return DateWord.toString();
    }
    return {};
}

QString orderName(DateOrder order)
{
    switch (order) {
    case DateOrder::DayMonthYear:
        return QStringLiteral("giorno/mese/anno");
    case DateOrder::MonthDayYear:
        return QStringLiteral("mese/giorno/anno");
    case DateOrder::YearMonthDay:
        return QStringLiteral("anno/mese/giorno");
    }
    return {};
}

// The odd bytes of a line that is not UTF-8: "byte non valido 0x01 alla colonna 10, …".
QString invalidBytesText(const ClassLogWarning &w)
{
    const QString byte =
        QStringLiteral("0x") + QString::number(w.byte, 16).toUpper().rightJustified(2, u'0');
    if (w.count == 1)
        return QStringLiteral("byte non valido %1 alla colonna %2, mostrato come \uFFFD")
            .arg(byte)
            .arg(w.column);
    return QStringLiteral("%1 byte non validi (il primo, %2, alla colonna %3), mostrati come "
                          "\uFFFD")
        .arg(w.count)
        .arg(byte)
        .arg(w.column);
}

QString sentence(const ClassLogWarning &w)
{
    switch (w.kind) {
    case Kind::EmptyLine:
        return QStringLiteral("riga vuota");
    case Kind::NotAGame:
        return QStringLiteral("non è la riga di una partita: non comincia con %1")
            .arg(quoted(records::logformat::NameWord));
    case Kind::CutShort:
        return QStringLiteral("riga incompleta: si interrompe prima di %1; partita non letta")
            .arg(quoted(fieldName(w.field)));
    case Kind::Unrecognised:
        return QStringLiteral("riga non riconosciuta: al posto di %1 c'è %2; partita non letta")
            .arg(quoted(fieldName(w.field)), quoted(w.piece + QStringLiteral("…")));
    case Kind::TwoGames:
        return QStringLiteral("sembrano due partite sulla stessa riga (manca un a capo); riga "
                              "non letta");
    case Kind::TooLong:
        return QStringLiteral("riga troppo lunga (oltre %1 caratteri); riga non letta")
            .arg(records::ClassLogStreamParser::MaxLineLength);
    case Kind::NoTimeLeft:
        return QStringLiteral("manca il tempo restante");
    case Kind::TimeUnreadable:
        return QStringLiteral("tempo restante non leggibile: %1").arg(quoted(w.piece));
    case Kind::TimeBeyondGame:
        return QStringLiteral("tempo restante %1 oltre i %2 minuti di una partita; tempo "
                              "impiegato non calcolato")
            .arg(quoted(w.piece), QString::number(records::GameMinutes));
    case Kind::NoDate:
        return QStringLiteral("manca la data");
    case Kind::DateUnknown:
        return QStringLiteral("data non riconosciuta: %1").arg(quoted(w.piece));
    case Kind::DateInOtherOrder:
        return QStringLiteral("data %1 letta come %2").arg(quoted(w.piece), orderName(w.order));
    case Kind::Utf8Line:
        return QStringLiteral("la riga è scritta in UTF-8 e non nella codifica dei registri: "
                              "letta come UTF-8");
    case Kind::ControlCharacters:
        return w.count == 1
                   ? QStringLiteral("1 carattere di controllo mostrato come \uFFFD")
                   : QStringLiteral("%1 caratteri di controllo mostrati come \uFFFD").arg(w.count);
    case Kind::InvalidBytes:
        return invalidBytesText(w);
    }
    return {};
}

} // namespace

QString warningText(const ClassLogWarning &warning)
{
    if (warning.lineNumber <= 0) return sentence(warning);
    return QStringLiteral("Riga %1: %2").arg(warning.lineNumber).arg(sentence(warning));
}

} // namespace texts
