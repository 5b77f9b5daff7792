#include "bare_repeater.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

const QByteArray BareRepeater::Code = QByteArrayLiteral("C3A");

BareRepeater::~BareRepeater()
{
    m_answers.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

bool BareRepeater::open(const QString &device, QString *error)
{
    m_fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios raw{};
    if (m_fd < 0 || ::tcgetattr(m_fd, &raw) != 0) {
        *error = QStringLiteral("%1: %2").arg(device, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    ::cfmakeraw(&raw);
    ::tcsetattr(m_fd, TCSANOW, &raw);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { send(); });
    m_answers = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    QObject::connect(m_answers.get(), &QSocketNotifier::activated, [this] { readAnswers(); });
    return true;
}

void BareRepeater::start(int periodMs)
{
    send();
    m_timer.start(periodMs);
}

void BareRepeater::stop()
{
    m_timer.stop();
}

void BareRepeater::send()
{
    static const QByteArray command = Code + '\r';
    [[maybe_unused]] const ssize_t written = ::write(m_fd, command.constData(), command.size());
}

void BareRepeater::readAnswers()
{
    char buffer[256];
    while (::read(m_fd, buffer, sizeof buffer) > 0) {
    }
}
