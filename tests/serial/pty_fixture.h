#pragma once

#include "pseudo_terminal.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// Helpers for tests that drive a QtSerialPort over a real pseudo-terminal: the port opens the
// slave end, the test plays the projector on the master end.

// Everything the port has sent so far, read from the master end without blocking.
inline QByteArray drainMaster(const PseudoTerminal &pty)
{
    QByteArray received;
    char chunk[256];
    for (;;) {
        const ssize_t n = ::read(pty.masterFd(), chunk, sizeof chunk);
        if (n > 0) {
            received.append(chunk, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return received;
    }
}

inline bool writeMaster(const PseudoTerminal &pty, const QByteArray &bytes)
{
    return ::write(pty.masterFd(), bytes.constData(), size_t(bytes.size())) == bytes.size();
}

// Reads the line settings of a slave end. Opened before the port is, since the port takes
// the device for itself (TIOCEXCL) once it has it.
class LineObserver {
public:
    explicit LineObserver(const QString &slavePath)
        : m_fd(::open(QFile::encodeName(slavePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK))
    {
    }
    ~LineObserver()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LineObserver(const LineObserver &) = delete;
    LineObserver &operator=(const LineObserver &) = delete;

    bool isValid() const { return m_fd >= 0; }
    termios settings() const
    {
        termios tio{};
        ::tcgetattr(m_fd, &tio);
        return tio;
    }

private:
    int m_fd;
};

// Opens a pseudo-terminal or fails the calling test.
#define ZRA70_OPEN_PTY(pty)                                                                        \
    do {                                                                                           \
        QString ptyError;                                                                          \
        QVERIFY2((pty).open(&ptyError), qPrintable(ptyError));                                     \
    } while (false)

// Opens a pseudo-terminal and maps serial port `number` to its device.
#define ZRA70_OPEN_PTY_AS_COM(pty, number)                                                         \
    do {                                                                                           \
        ZRA70_OPEN_PTY(pty);                                                                       \
        qputenv("ZRA70_COM" #number, (pty).slavePath().toLocal8Bit());                             \
    } while (false)
