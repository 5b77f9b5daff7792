#include "line_end.h"

#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

LineEnd::LineEnd(const QString &devicePath)
    : m_fd(::open(QFile::encodeName(devicePath).constData(),
                  O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
{
    termios tio{};
    if (m_fd >= 0 && ::tcgetattr(m_fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
}

LineEnd::~LineEnd()
{
    if (m_fd >= 0 && m_owned)
        ::close(m_fd);
}

bool LineEnd::write(const QByteArray &bytes)
{
    return ::write(m_fd, bytes.constData(), bytes.size()) == bytes.size();
}

QByteArray LineEnd::readAvailable()
{
    QByteArray bytes;
    char buffer[1024];
    for (ssize_t count; (count = ::read(m_fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, count);
    return bytes;
}

QByteArray LineEnd::read(qsizetype count, int timeoutMs)
{
    QByteArray bytes;
    // Short at the timeout: the caller's comparison shows what came.
    (void)QTest::qWaitFor([&] { return (bytes += readAvailable()).size() >= count; }, timeoutMs);
    return bytes;
}

termios LineEnd::settings() const
{
    termios tio{};
    ::tcgetattr(m_fd, &tio);
    return tio;
}

unsigned LineEnd::outputSpeed() const
{
    const termios tio = settings();
    return ::cfgetospeed(&tio);
}
