#include "line_end.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

LineEnd::LineEnd(const QString &devicePath)
{
    m_fd = ::open(QFile::encodeName(devicePath).constData(),
                  O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return;
    termios tio{};
    if (::tcgetattr(m_fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_fd, TCSANOW, &tio);
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
}

LineEnd::LineEnd(int borrowedFd)
    : m_fd(borrowedFd)
    , m_owned(false)
    , m_notifier(std::make_unique<QSocketNotifier>(borrowedFd, QSocketNotifier::Read))
{
}

LineEnd::~LineEnd()
{
    m_notifier.reset();
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
    QElapsedTimer clock;
    clock.start();
    QSignalSpy ready(m_notifier.get(), &QSocketNotifier::activated);
    while ((bytes += readAvailable()).size() < count) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || !ready.wait(int(left)))
            break;
    }
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
