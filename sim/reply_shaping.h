#pragma once

#include <QByteArray>
#include <QList>

class QRandomGenerator;

// Cuts a reply into `pieces` runs of nearly equal length, longer runs first. A reply shorter
// than that gives one byte per piece; an empty reply gives no pieces.
QList<QByteArray> splitIntoPieces(const QByteArray &reply, int pieces);

// Line noise: inserts 1 to 3 random bytes (any value 0-255) at random places of the reply,
// keeping every reply byte in order.
QByteArray mixInGarbage(const QByteArray &reply, QRandomGenerator &random);

struct TimedPiece {
    qint64 dueMs;
    QByteArray bytes;
};

// When each piece of a reply goes out: the first at firstDueMs, each next gapMs later.
QList<TimedPiece> schedulePieces(const QList<QByteArray> &pieces, qint64 firstDueMs, int gapMs);

// An endless stream of reply-like bytes for the flood option: the answers a projector gives
// to the queries and commands, one after another, cut wherever the caller stops.
class FloodPattern {
public:
    QByteArray next(qsizetype count);

private:
    qsizetype m_position = 0;
};
