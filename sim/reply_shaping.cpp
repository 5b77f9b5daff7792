#include "reply_shaping.h"

#include <QRandomGenerator>

QList<QByteArray> splitIntoPieces(const QByteArray &reply, int pieces)
{
    QList<QByteArray> result;
    const qsizetype count = std::min<qsizetype>(std::max(pieces, 1), reply.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype length = reply.size() / count + (i < reply.size() % count ? 1 : 0);
        result.append(reply.mid(start, length));
        start += length;
    }
    return result;
}

QByteArray mixInGarbage(const QByteArray &reply, QRandomGenerator &random)
{
    QByteArray noisy = reply;
    const int extra = random.bounded(1, 4);
    for (int i = 0; i < extra; ++i) {
        const auto at = qsizetype(random.bounded(quint32(noisy.size() + 1)));
        noisy.insert(at, char(random.bounded(256)));
    }
    return noisy;
}

QList<TimedPiece> schedulePieces(const QList<QByteArray> &pieces, qint64 firstDueMs, int gapMs)
{
    QList<TimedPiece> timed;
    qint64 due = firstDueMs;
    for (const QByteArray &piece : pieces) {
        timed.append({due, piece});
        due += gapMs;
    }
    return timed;
}

QByteArray FloodPattern::next(qsizetype count)
{
    static const QByteArray cycle =
        QByteArrayLiteral("00\r\x06"
                          "1\r11\r01234\r038.5 041.0 029.5\r01\r00\r853\r\x06\x06");
    QByteArray bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        const qsizetype take = std::min(count - bytes.size(), cycle.size() - m_position);
        bytes.append(cycle.constData() + m_position, take);
        m_position = (m_position + take) % cycle.size();
    }
    return bytes;
}
