#include "line_port_server.h"

#include "command_requests.h"
#include "line_framer.h"
#include "projector_service.h"
#include "service_log.h"

#include <QPointer>
#include <QTcpSocket>

namespace {

constexpr char Nak = 21;

QString peerOf(const QTcpSocket &socket)
{
    return ListenAddress{socket.peerAddress(), socket.peerPort()}.text();
}

// One client of the line port: its socket, its framing and its commands waiting in the queue.
class LinePortClient final : public QObject {
public:
    LinePortClient(QTcpSocket *socket, ProjectorService &service, const ServiceLog &log,
                   const LinePortServer::Limits &limits, QObject *parent)
        : QObject(parent)
        , m_socket(socket)
        , m_service(service)
        , m_log(log)
        , m_limits(limits)
        , m_framer(limits.lineLength, LineFramer::Ends::CarriageReturn)
        , m_peer(peerOf(*socket))
    {
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, &LinePortClient::onReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, [this] {
            m_log.event(QStringLiteral("line port: %1 disconnected").arg(m_peer));
            deleteLater();
        });
        m_log.event(QStringLiteral("line port: %1 connected").arg(m_peer));
    }

private:
    void onReadyRead()
    {
        for (const LineFramer::Line &line : m_framer.feed(m_socket->readAll())) {
            if (line.tooLong) {
                reply(QByteArray(1, Nak));
            } else if (m_waiting >= m_limits.waitingCommands) {
                m_log.exchange(QStringLiteral("line port: %1 has %2 commands waiting; dropped %3")
                                   .arg(m_peer)
                                   .arg(m_waiting)
                                   .arg(QString::fromLatin1(line.text)));
            } else {
                ++m_waiting;
                m_service.exchange(requestForCode(line.text),
                                   [client = QPointer(this)](const ExchangeResult &result) {
                                       if (client) {
                                           --client->m_waiting;
                                           client->reply(result.received);
                                       }
                                   });
            }
        }
    }

    void reply(const QByteArray &bytes)
    {
        if (bytes.isEmpty() || m_socket->state() != QAbstractSocket::ConnectedState)
            return;
        if (m_socket->bytesToWrite() > m_limits.unreadReplies) {
            m_log.event(QStringLiteral("line port: %1 reads none of its replies; disconnected")
                            .arg(m_peer));
            m_socket->abort();
            return;
        }
        m_socket->write(bytes);
    }

    QTcpSocket *m_socket;
    ProjectorService &m_service;
    const ServiceLog &m_log;
    const LinePortServer::Limits &m_limits;
    LineFramer m_framer;
    QString m_peer;
    int m_waiting = 0;
};

} // namespace

LinePortServer::LinePortServer(ProjectorService &service, const ServiceLog &log, Limits limits)
    : m_service(service)
    , m_log(log)
    , m_limits(limits)
{
    connect(&m_server, &QTcpServer::newConnection, this, &LinePortServer::onNewConnection);
}

bool LinePortServer::listen(const ListenAddress &address, QString *problem)
{
    if (m_server.listen(address.host, address.port))
        return true;
    *problem = QStringLiteral("cannot serve the line port on %1: %2")
                   .arg(address.text(), m_server.errorString());
    return false;
}

ListenAddress LinePortServer::address() const
{
    return {m_server.serverAddress(), m_server.serverPort()};
}

void LinePortServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (m_clients >= m_limits.connections) {
            m_log.event(QStringLiteral("line port: refused %1: already %2 clients")
                            .arg(peerOf(*socket))
                            .arg(m_limits.connections));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto *client = new LinePortClient(socket, m_service, m_log, m_limits, this);
        ++m_clients;
        connect(client, &QObject::destroyed, this, [this] { --m_clients; });
    }
}
