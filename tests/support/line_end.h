#pragma once

#include <QByteArray>
#include <QString>

struct termios;

// One end of a serial line for tests: a device opened with plain POSIX calls in raw mode, or a
// pseudo-terminal's master end borrowed from its owner. Waiting for bytes runs the event loop,
// so a simulator or port in this process goes on meanwhile.
class LineEnd {
public:
    explicit LineEnd(const QString &devicePath);
    explicit LineEnd(int borrowedFd)
        : m_fd(borrowedFd)
        , m_owned(false)
    {
    }
    ~LineEnd();
    LineEnd(const LineEnd &) = delete;
    LineEnd &operator=(const LineEnd &) = delete;

    bool write(const QByteArray &bytes);
    // Everything that has arrived so far, without waiting.
    QByteArray readAvailable();
    // Runs the event loop until `count` bytes in all have arrived or timeoutMs has passed.
    QByteArray read(qsizetype count, int timeoutMs = 10000);
    // The line settings of the device, as the port that opened it set them.
    termios settings() const;
    unsigned outputSpeed() const; // a B* constant, as cfgetospeed() gives it

private:
    int m_fd = -1;
    bool m_owned = true;
};
