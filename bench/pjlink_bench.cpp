#include "clock.h"
#include "proc_status.h"
#include "profile.h"
#include "report.h"
#include "scenarios.h"
#include "service_process.h"
#include "sim_process.h"
#include "stats.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <optional>

// zra70d in front of zra70-sim, both programs of their own, and PJLink clients on plain
// blocking sockets in this process, so nothing of Qt's stands between a client's write and
// its read.
namespace {

constexpr double RoundTripP99LimitMs = 5;
constexpr double RestingLimitMiB = 12;
constexpr double GrowthLimitKiB = 256;
// As many as zra70d lets in at once: 50 cannot be connected together past its limit of 32.
constexpr int ManyClients = 32;
const QByteArray Password = "bench-password";

// One PJLink client: connects, logs in with its first command, then exchanges lines.
class Client {
public:
    ~Client()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool connectTo(quint16 port)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int one = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            return false;
        const QByteArray greeting = readLine();
        m_digest = QCryptographicHash::hash(greeting.mid(9, 8) + Password, QCryptographicHash::Md5)
                       .toHex();
        return greeting.startsWith("PJLINK 1 ");
    }
    // The line with the digest before it the first time.
    bool send(const QByteArray &line)
    {
        const QByteArray bytes = std::exchange(m_digest, {}) + line + '\r';
        return ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    // One reply, up to its carriage return; empty after two seconds without one.
    QByteArray readLine()
    {
        std::optional<QByteArray> line;
        while (!(line = takeLine())) {
            pollfd ready{m_fd, POLLIN, 0};
            if (::poll(&ready, 1, 2000) != 1 || !receive())
                return {};
        }
        return *line;
    }
    // Whatever has arrived; false when the connection is gone.
    bool receive()
    {
        char buffer[512];
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got > 0)
            m_received.append(buffer, got);
        return got > 0;
    }
    std::optional<QByteArray> takeLine()
    {
        const qsizetype end = m_received.indexOf('\r') + 1;
        if (end == 0)
            return std::nullopt;
        const QByteArray line = m_received.left(end);
        m_received.remove(0, end);
        return line;
    }
    int fd() const { return m_fd; }

private:
    int m_fd = -1;
    QByteArray m_digest;
    QByteArray m_received;
};

// zra70d on the simulator's device, with a password; its log (two lines a connection) dropped.
bool startService(ServiceProcess &service, const QString &device, const QTemporaryDir &dir)
{
    QFile password(dir.filePath(QStringLiteral("password")));
    if (!password.open(QIODevice::WriteOnly) || password.write(Password) < 0)
        return false;
    password.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    password.close();
    service.process().setStandardErrorFile(QProcess::nullDevice());
    return service.start({QStringLiteral("--port"), device, QStringLiteral("--pjlink"),
                          QStringLiteral("127.0.0.1:0"), QStringLiteral("--password-file"),
                          password.fileName()});
}

// What of the resident memory is library pages shared with other programs, and what the
// process's own: "11.2 MiB shared, 0.9 MiB private; PSS 2.7 MiB".
QString sharedAndPrivate(qint64 pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    QHash<QByteArray, double> kiB;
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() == 3)
            kiB[fields[0]] += fields[1].toDouble();
    }
    const auto mib = [&kiB](std::initializer_list<const char *> keys) {
        double sum = 0;
        for (const char *key : keys)
            sum += kiB.value(key);
        return QString::number(sum / 1024, 'f', 1);
    };
    return QStringLiteral("%1 MiB shared, %2 MiB private; PSS %3 MiB")
        .arg(mib({"Shared_Clean:", "Shared_Dirty:"}), mib({"Private_Clean:", "Private_Dirty:"}),
             mib({"Pss:"}));
}

// Connects, logs in with POWR ?, reads the reply and closes, `count` times.
bool connectMany(quint16 port, int count)
{
    for (int i = 0; i < count; ++i) {
        Client client;
        if (!client.connectTo(port) || !client.send("%1POWR ?") ||
            !client.readLine().startsWith("%1POWR="))
            return false;
    }
    return true;
}

// POWR ? round trips in ms: every client sends at once, then each waits for its reply.
std::optional<std::vector<double>> roundTrips(quint16 port, int clients, int rounds)
{
    std::vector<std::unique_ptr<Client>> connected;
    for (int i = 0; i < clients; ++i) {
        connected.push_back(std::make_unique<Client>());
        if (!connected.back()->connectTo(port) || !connected.back()->send("%1CLSS ?") ||
            connected.back()->readLine() != "%1CLSS=1\r")
            return std::nullopt;
    }
    std::vector<double> ms;
    std::vector<pollfd> waiting(connected.size());
    for (int round = 0; round < rounds; ++round) {
        const qint64 sent = steadyNowNs();
        for (size_t i = 0; i < connected.size(); ++i) {
            connected[i]->send("%1POWR ?");
            waiting[i] = {connected[i]->fd(), POLLIN, 0};
        }
        for (size_t answered = 0; answered < connected.size();) {
            if (::poll(waiting.data(), waiting.size(), 2000) <= 0)
                return std::nullopt;
            for (size_t i = 0; i < connected.size(); ++i) {
                if (!(waiting[i].revents & POLLIN))
                    continue;
                if (!connected[i]->receive())
                    return std::nullopt;
                if (const auto reply = connected[i]->takeLine()) {
                    if (!reply->startsWith("%1POWR="))
                        return std::nullopt;
                    ms.push_back(double(steadyNowNs() - sent) / 1e6);
                    waiting[i].fd = -1; // answered: poll() leaves it out
                    ++answered;
                }
            }
        }
    }
    return ms;
}

void benchRoundTrip(quint16 port, int clients, int samples)
{
    const QString figure = QStringLiteral("PJLink POWR ? round trip, %1 client%2")
                               .arg(clients)
                               .arg(clients > 1 ? QStringLiteral("s at once") : QString());
    const auto ms = roundTrips(port, clients, std::max(1, samples / clients));
    if (!ms) {
        emitRow(missing(figure, QStringLiteral("a reply did not come")));
        return;
    }
    const double p99 = percentile(*ms, 99);
    emitRow(atMost(figure + QStringLiteral(": p99"),
                   QStringLiteral("%1 ms (p50 %2 ms, max %3 ms, %4 samples)")
                       .arg(p99, 0, 'f', 3)
                       .arg(percentile(*ms, 50), 0, 'f', 3)
                       .arg(percentile(*ms, 100), 0, 'f', 3)
                       .arg(ms->size()),
                   p99, RoundTripP99LimitMs, QStringLiteral("≤ %1 ms").arg(RoundTripP99LimitMs)));
}

// POWR 1 written to C00 read by the simulator, with the projector on (the command is
// acknowledged and changes nothing), 100 ms apart so each finds the line idle.
void benchPowerOnToLine(quint16 port, const SimProcess &simulator, int samples)
{
    const QString figure = QStringLiteral("PJLink POWR 1 to C00 on the line");
    Client client;
    if (!client.connectTo(port) || !client.send("%1POWR 1") || client.readLine() != "%1POWR=OK\r") {
        emitRow(missing(figure, QStringLiteral("POWR 1 was not acknowledged")));
        return;
    }
    for (int polls = 0; polls < 100; ++polls) { // warming up
        client.send("%1POWR ?");
        if (client.readLine() == "%1POWR=1\r")
            break;
        QThread::msleep(100);
    }
    std::vector<double> ms;
    for (int i = 0; i < samples; ++i) {
        QThread::msleep(100);
        const qsizetype before = simulator.trace().size();
        const qint64 sent = steadyNowNs();
        if (!client.send("%1POWR 1") || client.readLine() != "%1POWR=OK\r")
            break;
        const QList<SimProcess::Traced> trace = simulator.trace();
        for (qsizetype at = before; at < trace.size(); ++at) {
            if (trace[at].command == "C00") {
                ms.push_back(double(trace[at].ns - sent) / 1e6);
                break;
            }
        }
    }
    if (ms.size() < size_t(samples)) {
        emitRow(missing(figure, QStringLiteral("a C00 did not reach the line")));
        return;
    }
    emitRow(info(figure,
                 QStringLiteral("p50 %1 ms, p99 %2 ms (%3 samples)")
                     .arg(percentile(ms, 50), 0, 'f', 3)
                     .arg(percentile(ms, 99), 0, 'f', 3)
                     .arg(ms.size()),
                 QStringLiteral("the simulator's trace, one clock")));
}

} // namespace

void benchPjlink(const Profile &profile)
{
    emitRow(note(QStringLiteral("PJLink: zra70d (password set) on zra70-sim, clients on blocking "
                                "sockets; round trips from the write of POWR ? to its reply, 32 "
                                "clients (the connection limit) writing at once each round; RSS "
                                "(VmRSS) 2 s after the ready line, and after %1 connections each "
                                "logging in with one POWR ?")
                     .arg(profile.pjlinkConnections)));
    SimProcess simulator;
    ServiceProcess service;
    QTemporaryDir dir;
    QString error;
    if (!simulator.start({}, &error) || !startService(service, simulator.device(), dir)) {
        emitRow(missing(QStringLiteral("PJLink measurements"),
                        error.isEmpty() ? QStringLiteral("zra70d did not start") : error));
        return;
    }
    const quint16 port = service.port(QStringLiteral("pjlink"));
    const auto resident = [&service] {
        return double(residentKiB(service.process().processId()));
    };
    QThread::msleep(2000); // the state polled once
    const double resting = resident();
    emitRow(atMost(QStringLiteral("zra70d RSS at rest"),
                   QStringLiteral("%1 MiB").arg(resting / 1024, 0, 'f', 1), resting / 1024,
                   RestingLimitMiB, QStringLiteral("≤ %1 MiB").arg(RestingLimitMiB)));
    emitRow(info(QStringLiteral("  of which"), sharedAndPrivate(service.process().processId()),
                 QStringLiteral("/proc/PID/smaps_rollup")));
    const QString growth = QStringLiteral("zra70d RSS growth over %1 PJLink connections")
                               .arg(profile.pjlinkConnections);
    if (!connectMany(port, profile.pjlinkConnections)) {
        emitRow(missing(growth, QStringLiteral("a connection failed")));
        return;
    }
    QThread::msleep(500); // the last connections' objects deleted
    const double after = resident();
    emitRow(atMost(growth,
                   QStringLiteral("%1 KiB (%2 → %3 KiB)")
                       .arg(after - resting, 0, 'f', 0)
                       .arg(resting, 0, 'f', 0)
                       .arg(after, 0, 'f', 0),
                   after - resting, GrowthLimitKiB,
                   QStringLiteral("≤ %1 KiB").arg(GrowthLimitKiB)));
    benchRoundTrip(port, 1, profile.pjlinkRoundTrips);
    benchRoundTrip(port, ManyClients, profile.pjlinkRoundTrips);
    QThread::msleep(200); // the clients' connections closed
    benchPowerOnToLine(port, simulator, profile.pjlinkPowerOns);
}
