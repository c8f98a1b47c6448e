#pragma once

#include "PupilSummary.h"
#include "records/ClassLogEntry.h"

#include <QHash>
#include <QList>

namespace registro {

// Sums games up pupil by pupil, in any order.
class PupilSummaryBuilder
{
public:
    void add(const records::ClassLogEntry &entry);
    // One summary per pupil, in the order the pupils first appeared.
    QList<PupilSummary> result() const { return m_pupils; }

private:
    QHash<QString, int> m_index;
    QList<PupilSummary> m_pupils;
    QList<qint64> m_nameLine; // line of the game the shown name comes from
};

} // namespace registro
