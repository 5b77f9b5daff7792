#include "network_link.h"

#include "serial_trace.h"

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace {

constexpr qsizetype MaxOutbox = 64 * 1024;
constexpr qsizetype MaxPreamble = 160;

// A server that vanishes without closing (power cut, cable pulled) is noticed within about ten
// seconds instead of the system's two hours of keep-alive or minutes of retransmission.
void noticeSilentLossSoon(qintptr socket)
{
#ifdef Q_OS_LINUX
    const int idleSeconds = 5;
    const int probeIntervalSeconds = 2;
    const int probes = 3;
    const unsigned unacknowledgedMs = 10000;
    ::setsockopt(int(socket), IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
    ::setsockopt(int(socket), IPPROTO_TCP, TCP_KEEPINTVL, &probeIntervalSeconds,
                 sizeof probeIntervalSeconds);
    ::setsockopt(int(socket), IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
    ::setsockopt(int(socket), IPPROTO_TCP, TCP_USER_TIMEOUT, &unacknowledgedMs,
                 sizeof unacknowledgedMs);
#else
    Q_UNUSED(socket);
#endif
}

} // namespace

NetworkLink::NetworkLink(const NetworkAddress &address, const LineSettings &settings, int answerMs,
                         int settleMs, int delayMs, QObject *parent)
    : QObject(parent)
    , m_address(address)
{
    if (address.kind == NetworkAddress::Kind::Rfc2217)
        m_session.emplace(settings);
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(answerMs);
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_deadline, &QTimer::timeout, this, &NetworkLink::onDeadline);
    connect(&m_settle, &QTimer::timeout, this, &NetworkLink::becomeReady);
    connect(&m_socket, &QTcpSocket::connected, this, &NetworkLink::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkLink::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &NetworkLink::onSocketError);
    const auto start = [this] {
        m_deadline.start();
        m_socket.connectToHost(m_address.host, m_address.port);
    };
    if (delayMs > 0)
        QTimer::singleShot(delayMs, this, start);
    else
        start();
}

bool NetworkLink::write(const QByteArray &bytes)
{
    if (m_phase != Phase::Ready) {
        if (m_outbox.size() + bytes.size() > MaxOutbox)
            return false;
        m_outbox += bytes;
        return true;
    }
    traceChunk(TraceDirection::Sent, m_address.url(), bytes);
    send(m_session ? m_session->encode(bytes) : bytes);
    return true;
}

void NetworkLink::changeSettings(const LineSettings &settings)
{
    if (m_session && m_phase != Phase::Failed)
        send(m_session->changeSettings(settings));
}

void NetworkLink::send(const QByteArray &wireBytes)
{
    if (wireBytes.isEmpty() || m_socket.state() != QAbstractSocket::ConnectedState)
        return;
    m_socket.write(wireBytes);
    // Out now rather than on the next turn of the event loop, as on a local port.
    m_socket.flush();
}

void NetworkLink::onConnected()
{
    // Commands are a few bytes each and must not wait for a fuller segment.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    noticeSilentLossSoon(m_socket.socketDescriptor());
    if (m_session) {
        m_phase = Phase::Negotiating;
        send(m_session->begin());
    } else {
        m_deadline.stop();
        m_phase = Phase::Settling;
        m_settle.start();
    }
}

void NetworkLink::onReadyRead()
{
    const QByteArray bytes = m_socket.readAll();
    if (m_phase == Phase::Failed)
        return;
    ComPortSession::Step step;
    if (m_session)
        step = m_session->receive(bytes);
    else
        step.data = bytes;
    if (m_phase != Phase::Ready) {
        m_preamble = (m_preamble + step.data).right(MaxPreamble);
    } else if (!step.data.isEmpty()) {
        traceChunk(TraceDirection::Received, m_address.url(), step.data);
        m_inbox += step.data;
        emit dataArrived();
    }
    // Writing to a server that has just closed reports the close at once, from inside send().
    send(step.reply);
    if (!m_session || m_phase == Phase::Failed)
        return;
    if (m_session->state() == ComPortSession::State::Failed)
        fail(m_session->failure() == ComPortSession::Failure::NoComPortOption
                 ? NetworkFailure::Kind::NotRfc2217
                 : NetworkFailure::Kind::SettingRefused,
             m_session->refusal());
    else if (m_phase == Phase::Negotiating && m_session->state() == ComPortSession::State::Ready)
        becomeReady();
}

void NetworkLink::becomeReady()
{
    if (m_phase == Phase::Failed || m_phase == Phase::Ready)
        return;
    m_deadline.stop();
    m_phase = Phase::Ready;
    emit ready();
    if (m_phase == Phase::Ready && !m_outbox.isEmpty())
        write(std::exchange(m_outbox, {}));
}

void NetworkLink::onSocketError(QAbstractSocket::SocketError error)
{
    // The last bytes may be reported together with the close, after it: read them first.
    if (m_socket.bytesAvailable() > 0)
        onReadyRead();
    if (m_phase == Phase::Failed)
        return;
    using Kind = NetworkFailure::Kind;
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        fail(Kind::HostNotFound);
        break;
    case QAbstractSocket::ConnectionRefusedError:
        fail(Kind::Refused);
        break;
    case QAbstractSocket::RemoteHostClosedError:
        // After the link is up, whatever the server said was the line's data.
        fail(Kind::ClosedByServer, m_phase == Phase::Ready ? QString() : lastWords());
        break;
    default:
        fail(Kind::NetworkError, m_socket.errorString());
        break;
    }
}

void NetworkLink::onDeadline()
{
    if (m_phase == Phase::Connecting)
        fail(NetworkFailure::Kind::NoAnswer);
    else if (m_phase == Phase::Negotiating && !m_session->comPortAnswered())
        fail(NetworkFailure::Kind::NotRfc2217);
    else if (m_phase == Phase::Negotiating)
        fail(NetworkFailure::Kind::SettingRefused,
             QStringLiteral("the server did not acknowledge them within %1 ms")
                 .arg(m_deadline.interval()));
}

void NetworkLink::fail(NetworkFailure::Kind kind, const QString &detail)
{
    if (m_phase == Phase::Failed)
        return;
    m_phase = Phase::Failed;
    m_deadline.stop();
    m_settle.stop();
    m_socket.abort();
    emit failed(NetworkFailure{kind, detail});
}

// The printable text a server sent before closing, such as ser2net's "Device open failure".
QString NetworkLink::lastWords() const
{
    QString text;
    for (char byte : m_preamble) {
        if (byte >= ' ' && byte <= '~')
            text += QLatin1Char(byte);
        else if (!text.endsWith(QLatin1Char(' ')))
            text += QLatin1Char(' ');
    }
    return text.trimmed();
}
