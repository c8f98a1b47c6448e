#include "ClassLogWriter.h"

namespace records {

QString classLogLine(const GameSummary &g, LogForm form)
{
    using namespace logformat;
    const LineForm parts = lineForm(form);
    QString line;
    line += NameWord;
    line += AfterNameWord;
    line += g.name;
    line += parts.afterName;
    line += g.correctTitle;
    line += AfterCorrectTitle;
    line += g.correct;
    line += AfterCorrect;
    line += g.wrongTitle;
    line += AfterWrongTitle;
    line += g.wrong;
    line += g.timeTitle;
    line += AfterTimeTitle;
    line += g.timeLeft;
    line += parts.beforeDateWord;
    line += DateWord;
    line += parts.afterDateWord;
    line += g.date;
    return line;
}

} // namespace records
