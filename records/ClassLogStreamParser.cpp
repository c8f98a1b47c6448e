#include "ClassLogStreamParser.h"

#include "ClassLogLineParser.h"

namespace records {

ClassLogStreamParser::ClassLogStreamParser(DateOrder order, qint64 firstLineNumber)
    : m_order(order), m_lineNumber(firstLineNumber), m_firstLine(firstLineNumber == 1)
{
}

void ClassLogStreamParser::addData(QByteArrayView bytes)
{
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', pos);
        const QByteArrayView piece = bytes.sliced(pos, (end < 0 ? bytes.size() : end) - pos);
        m_pendingBytes += piece.size();
        if (!m_overlong) {
            if (m_pendingBytes > MaxLineLength) {
                m_overlong = true;
                m_pending = QByteArray();
            } else if (end < 0 || !m_pending.isEmpty()) {
                m_pending.append(piece);
            }
        }
        if (end < 0) break;
        if (m_overlong)
            takeLine({});
        else if (m_pending.isEmpty())
            takeLine(piece);
        else
            takeLine(m_pending);
        m_pending.clear();
        m_completeBytes += m_pendingBytes + 1;
        m_pendingBytes = 0;
        pos = end + 1;
    }
}

void ClassLogStreamParser::finish()
{
    if (m_pending.isEmpty() && !m_overlong) return;
    takeLine(m_pending);
    m_pending = QByteArray();
    m_pendingBytes = 0;
}

void ClassLogStreamParser::takeLine(QByteArrayView line)
{
    const qint64 number = m_lineNumber++;
    const bool first = std::exchange(m_firstLine, false);
    if (std::exchange(m_overlong, false)) {
        warn(number, {.kind = ClassLogWarning::Kind::TooLong});
        return;
    }
    if (first && line.startsWith("\xEF\xBB\xBF")) line = line.sliced(3);

    ParsedLine parsed = parseClassLogLine(line, m_order);
    for (ClassLogWarning &warning : parsed.warnings)
        warn(number, std::move(warning));
    if (!parsed.entry) return;
    ClassLogEntry &entry = *parsed.entry;
    entry.lineNumber = number;
    // Names and dates repeat from line to line: keep one copy of each.
    for (QString *text : {&entry.name, &entry.dateText}) {
        const auto known = m_names.constFind(*text);
        if (known != m_names.cend())
            *text = *known;
        else
            m_names.insert(*text);
    }
    m_entries.append(std::move(entry));
}

void ClassLogStreamParser::warn(qint64 line, ClassLogWarning warning)
{
    ++m_warningCount;
    if (m_warnings.size() >= MaxWarnings) return;
    warning.lineNumber = line;
    m_warnings.append(std::move(warning));
}

} // namespace records
