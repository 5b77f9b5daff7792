#include "line_port_server.h"

#include "command_requests.h"
#include "line_framer.h"
#include "projector_service.h"
#include "service_log.h"

#include <QPointer>
#include <QTcpSocket>

namespace {

constexpr char Nak = 21;

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
    : m_limits(limits)
    , m_listener(QStringLiteral("line port"), limits.connections, log,
                 [this, &service, &log](QTcpSocket *socket) {
                     return new LinePortClient(socket, service, log, m_limits, nullptr);
                 })
{
}
