#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Cuts the bytes a network client sends, in pieces of any size, into lines. A line ends at a
// carriage return; with AnyLineEnd also at a line feed, and a line feed right after a carriage
// return ends nothing. A line longer than the limit is given once, marked too long and cut to
// the limit, and the rest of it up to its end is dropped: no input grows the buffer beyond it.
class LineFramer {
public:
    enum class Ends { CarriageReturn, AnyLineEnd };
    struct Line {
        QByteArray text; // without its end
        bool tooLong = false;
        friend bool operator==(const Line &, const Line &) = default;
    };

    LineFramer(qsizetype maxLength, Ends ends);

    QList<Line> feed(QByteArrayView bytes);
    // Bytes of a line begun and not yet ended.
    qsizetype pending() const { return m_partial.size(); }

private:
    qsizetype m_maxLength;
    Ends m_ends;
    QByteArray m_partial;
    bool m_overlong = false;
    bool m_afterCr = false;
};
