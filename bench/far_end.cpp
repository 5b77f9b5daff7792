#include "far_end.h"

#include "clock.h"

#include <QEventLoop>
#include <QTimer>

#include <QList>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
constexpr char Ack = 6;
constexpr char CarriageReturn = '\r';

// The CPU clocks of the reading threads; touched by the main thread only.
QList<clockid_t> &readerClocks()
{
    static QList<clockid_t> clocks;
    return clocks;
}
} // namespace

FarEnd::~FarEnd()
{
    if (m_readerClock)
        readerClocks().removeOne(*m_readerClock);
    if (m_reader.joinable()) {
        m_stopping = true;
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
        m_reader.join();
    }
    if (m_wake >= 0)
        ::close(m_wake);
}

bool FarEnd::start(QString *error)
{
    if (!m_pty.open(error))
        return false;
    m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wake < 0) {
        *error = QStringLiteral("eventfd: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_reader = std::thread([this] { readLoop(); });
    clockid_t clock{};
    if (pthread_getcpuclockid(m_reader.native_handle(), &clock) == 0) {
        m_readerClock = clock;
        readerClocks().append(clock);
    }
    return true;
}

void FarEnd::readLoop()
{
    pollfd fds[2] = {{m_pty.masterFd(), POLLIN, 0}, {m_wake, POLLIN, 0}};
    char buffer[4096];
    while (!m_stopping) {
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL))
            return;
        for (;;) {
            const ssize_t count = ::read(m_pty.masterFd(), buffer, sizeof buffer);
            if (count <= 0)
                break;
            takeBytes(buffer, count, steadyNowNs());
        }
    }
}

void FarEnd::takeBytes(const char *bytes, qsizetype size, qint64 ns)
{
    int acks = 0;
    {
        const std::lock_guard lock(m_mutex);
        for (qsizetype i = 0; i < size; ++i) {
            if (bytes[i] != CarriageReturn) {
                m_partial.append(bytes[i]);
                continue;
            }
            m_arrivals.push_back({ns, m_partial});
            m_partial.clear();
            ++acks;
        }
        if (m_waiter && qsizetype(m_arrivals.size()) >= m_wanted) {
            QMetaObject::invokeMethod(m_waiter, &QEventLoop::quit, Qt::QueuedConnection);
            m_waiter = nullptr;
        }
    }
    const QByteArray answer(acks, Ack);
    if (acks > 0) [[maybe_unused]]
        const ssize_t written = ::write(m_pty.masterFd(), answer.constData(), answer.size());
}

qsizetype FarEnd::count() const
{
    const std::lock_guard lock(m_mutex);
    return qsizetype(m_arrivals.size());
}

std::vector<FarEnd::Arrival> FarEnd::arrivals() const
{
    const std::lock_guard lock(m_mutex);
    return m_arrivals;
}

FarEnd::Arrival FarEnd::arrival(qsizetype index) const
{
    const std::lock_guard lock(m_mutex);
    return m_arrivals.at(std::size_t(index));
}

bool FarEnd::waitForCount(qsizetype n, int timeoutMs)
{
    QEventLoop loop;
    {
        const std::lock_guard lock(m_mutex);
        if (qsizetype(m_arrivals.size()) >= n)
            return true;
        m_wanted = n;
        m_waiter = &loop;
    }
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    const std::lock_guard lock(m_mutex);
    m_waiter = nullptr; // a quit already posted dies with the loop
    return qsizetype(m_arrivals.size()) >= n;
}

qint64 FarEnd::allReadersCpuNs()
{
    qint64 total = 0;
    for (const clockid_t clock : readerClocks())
        total += cpuClockNs(clock);
    return total;
}
