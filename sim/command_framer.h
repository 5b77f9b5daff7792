#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Cuts the incoming byte stream into commands at each carriage return. Bytes after the last
// carriage return wait for the next chunk. A line that grows beyond kMaxLength keeps only its
// first kMaxLength bytes, so a sender that never ends its line cannot grow the buffer forever.
class CommandFramer {
public:
    static constexpr qsizetype kMaxLength = 256;

    // Returns the commands completed by these bytes, each without its carriage return.
    QList<QByteArray> feed(QByteArrayView bytes);
    QByteArrayView pending() const { return m_line; }

private:
    QByteArray m_line;
};
