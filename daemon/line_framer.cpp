#include "line_framer.h"

LineFramer::LineFramer(qsizetype maxLength, Ends ends)
    : m_maxLength(maxLength)
    , m_ends(ends)
{
}

QList<LineFramer::Line> LineFramer::feed(QByteArrayView bytes)
{
    QList<Line> lines;
    for (const char byte : bytes) {
        const bool lineFeed = byte == '\n' && m_ends == Ends::AnyLineEnd;
        if (lineFeed && std::exchange(m_afterCr, false))
            continue; // the second half of CR LF
        m_afterCr = byte == '\r';
        if (byte == '\r' || lineFeed) {
            if (!m_overlong)
                lines.append({std::exchange(m_partial, {}), false});
            m_overlong = false;
        } else if (m_overlong) {
            continue;
        } else if (m_partial.size() == m_maxLength) {
            lines.append({std::exchange(m_partial, {}), true});
            m_overlong = true;
        } else {
            m_partial += byte;
        }
    }
    return lines;
}
