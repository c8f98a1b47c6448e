#include "QuestionDraw.h"

#include <cmath>

namespace question {

NoQuestion::NoQuestion()
    : std::runtime_error("nessuna domanda dopo 10000 estrazioni: ogni numero estratto "
                         "si rilegge come intero")
{
}

Drawn draw(platform::Services &services, const platform::NumberLocale &locale, ReadBack readBack)
{
    for (int n = 0; n < MaxDraws; ++n) {
        Drawn drawn;
        drawn.value = 8 * services.rnd() + 1;
        const int decimals = int(std::floor(2 * services.rnd() + 1));
        drawn.caption = platform::formatNumber(
            drawn.value, decimals == 1 ? QStringView(u"#0.0") : QStringView(u"#0.#0"), locale);
        const double shown = readBack(drawn.caption, locale);
        const bool whole = shown == std::floor(shown) && shown >= 1 && shown <= 9;
        if (!whole) return drawn;
    }
    throw NoQuestion();
}

} // namespace question
