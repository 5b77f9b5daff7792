#include "pjlink_server.h"

#include "interval_timer.h"
#include "line_framer.h"
#include "pjlink_auth.h"
#include "projector_service.h"
#include "service_log.h"

#include <QPointer>
#include <QTcpSocket>

namespace {

// What one connection may hold: bytes taken from the socket at a time, bytes received and
// not yet read (beyond them TCP holds the client back), replies the client has not read.
constexpr qint64 ReadChunk = 512;
constexpr qint64 ReadBuffer = 4096;
constexpr qint64 MaxUnread = 16 * 1024;

// A client's text for the log: printable ASCII as it is, other bytes as \xNN.
QString printable(QByteArrayView text)
{
    QString shown;
    for (const char c : text) {
        if (c >= ' ' && c <= '~')
            shown += QLatin1Char(c);
        else
            shown += QStringLiteral("\\x%1").arg(quint8(c), 2, 16, QLatin1Char('0'));
    }
    return shown;
}

// Sends a set's commands one after another, stopping at the first that is not acknowledged.
void sendCommands(ProjectorService &service, QByteArray header, QByteArrayList commands,
                  std::function<void(QByteArray)> done)
{
    if (commands.isEmpty()) {
        done(pjlink::commandReply(header, Outcome::Ack));
        return;
    }
    const QByteArray code = commands.takeFirst();
    service.command(code, [&service, header = std::move(header), commands = std::move(commands),
                           done = std::move(done)](Outcome outcome) mutable {
        if (outcome == Outcome::Ack)
            sendCommands(service, std::move(header), std::move(commands), std::move(done));
        else
            done(pjlink::commandReply(header, outcome));
    });
}

// Answers a request: reads what it needs first, then replies or sends its commands.
void carryOut(ProjectorService &service, const pjlink::Identity &identity,
              const pjlink::Request &request, std::function<void(QByteArray)> done)
{
    service.whenRead(
        pjlink::statusReads(request),
        [&service, &identity, request, done = std::move(done)](const ProjectorState &state) {
            pjlink::Step step = pjlink::step(request, state, identity);
            if (auto *reply = std::get_if<QByteArray>(&step))
                done(*reply);
            else
                sendCommands(service, request.header, std::get<QByteArrayList>(step), done);
        });
}

// One client: its socket, the framing of its lines, its login and its idle timer.
class PjlinkConnection final : public QObject {
public:
    PjlinkConnection(QTcpSocket *socket, ProjectorService &service, TimerService &timers,
                     const ServiceLog &log, const PjlinkServer::Settings &settings, QObject *parent)
        : QObject(parent)
        , m_socket(socket)
        , m_service(service)
        , m_log(log)
        , m_identity(settings.identity)
        , m_framer(pjlink::MaxCommandLength + PjlinkLogin::DigestLength,
                   LineFramer::Ends::AnyLineEnd)
        , m_login(settings.password, PjlinkLogin::randomNumber())
        , m_idle(timers.createTimer(settings.idleMs))
        , m_peer(peerOf(*socket))
    {
        socket->setParent(this);
        socket->setReadBufferSize(ReadBuffer);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, &PjlinkConnection::serve);
        connect(socket, &QTcpSocket::bytesWritten, this, &PjlinkConnection::serve);
        connect(socket, &QTcpSocket::disconnected, this, [this] {
            m_log.event(QStringLiteral("pjlink: %1 disconnected%2").arg(m_peer, m_closeReason));
            deleteLater();
        });
        m_idle->setTickHandler(
            [this] { close(QStringLiteral(" (idle %1 s)").arg(m_idle->interval() / 1000.0)); });
        m_idle->start();
        m_log.event(QStringLiteral("pjlink: %1 connected").arg(m_peer));
        write(m_login.greeting());
    }

private:
    // One line at a time: the next is read once the last is answered, so replies keep the
    // order of the commands, and a client that does not read its replies is not read either.
    void serve()
    {
        if (m_serving)
            return;
        m_serving = true;
        while (!m_busy && !m_closing && m_socket->bytesToWrite() <= MaxUnread) {
            if (m_lines.isEmpty()) {
                if (m_socket->bytesAvailable() == 0)
                    break;
                m_lines = m_framer.feed(m_socket->read(ReadChunk));
                continue;
            }
            take(m_lines.takeFirst());
        }
        m_serving = false;
    }

    void take(const LineFramer::Line &line)
    {
        m_idle->stop();
        m_idle->start();
        if (line.text.isEmpty())
            return;
        QByteArray command = line.text;
        if (!m_admitted) {
            std::optional<QByteArray> admitted = m_login.admit(line.text);
            if (!admitted) {
                m_log.event(QStringLiteral("pjlink: %1 failed to log in").arg(m_peer));
                write(PjlinkLogin::Refusal.toByteArray());
                close(QStringLiteral(" (login failed)"));
                return;
            }
            m_admitted = true;
            command = std::move(*admitted);
        }
        std::optional<pjlink::Request> request = pjlink::readLine(command);
        if (!request) {
            m_log.exchange(
                QStringLiteral("pjlink: %1 not a command: %2").arg(m_peer, printable(command)));
            return;
        }
        if (line.tooLong)
            request->error = pjlink::Error::BadParameter;
        m_busy = true;
        carryOut(m_service, m_identity, *request,
                 [self = QPointer(this), command](const QByteArray &reply) {
                     if (self)
                         self->answer(command, reply);
                 });
    }

    void answer(const QByteArray &command, const QByteArray &reply)
    {
        m_log.exchange(QStringLiteral("pjlink: %1 %2 -> %3")
                           .arg(m_peer, printable(command), printable(reply.chopped(1))));
        write(reply);
        m_busy = false;
        serve();
    }

    void write(const QByteArray &bytes)
    {
        if (m_socket->state() != QAbstractSocket::ConnectedState)
            return;
        m_socket->write(bytes);
        m_socket->flush();
    }

    void close(const QString &reason)
    {
        m_closing = true;
        m_closeReason = reason;
        m_idle->stop();
        m_socket->disconnectFromHost();
    }

    QTcpSocket *m_socket;
    ProjectorService &m_service;
    const ServiceLog &m_log;
    const pjlink::Identity &m_identity;
    LineFramer m_framer;
    PjlinkLogin m_login;
    std::unique_ptr<IntervalTimer> m_idle;
    QString m_peer;
    QString m_closeReason;
    QList<LineFramer::Line> m_lines;
    bool m_admitted = false;
    bool m_busy = false;
    bool m_serving = false;
    bool m_closing = false;
};

} // namespace

PjlinkServer::PjlinkServer(ProjectorService &service, TimerService &timers, const ServiceLog &log,
                           Settings settings)
    : m_settings(std::move(settings))
    , m_listener(QStringLiteral("pjlink"), m_settings.connections, log,
                 [this, &service, &timers, &log](QTcpSocket *socket) {
                     return new PjlinkConnection(socket, service, timers, log, m_settings, nullptr);
                 })
{
}
