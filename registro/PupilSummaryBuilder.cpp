#include "PupilSummaryBuilder.h"

#include "RegisterFormat.h"

namespace registro {

using records::ClassLogEntry;

void PupilSummaryBuilder::add(const ClassLogEntry &e)
{
    const QString key = pupilKey(e.name);
    auto found = m_index.constFind(key);
    if (found == m_index.cend()) {
        found = m_index.insert(key, int(m_pupils.size()));
        PupilSummary fresh;
        fresh.key = key;
        fresh.name = e.name;
        m_pupils.append(fresh);
        m_nameLine.append(e.lineNumber);
    }
    const int i = *found;
    PupilSummary &p = m_pupils[i];
    if (e.lineNumber > m_nameLine[i]) {
        p.name = e.name;
        m_nameLine[i] = e.lineNumber;
    }
    if (p.games == 0 || e.correct > p.bestScore) p.bestScore = e.correct;
    ++p.games;
    if (e.setRecord()) ++p.records;
    if (e.date.isValid() && (!p.lastDate.isValid() || e.date > p.lastDate)) p.lastDate = e.date;
    if (e.accuracy() >= 0) {
        p.accuracySum += e.accuracy();
        ++p.accuracyGames;
    }
}

} // namespace registro
