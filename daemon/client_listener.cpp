#include "client_listener.h"

#include "service_log.h"

#include <QTcpSocket>

ClientListener::ClientListener(QString name, int limit, const ServiceLog &log,
                               MakeClient makeClient)
    : m_name(std::move(name))
    , m_limit(limit)
    , m_log(log)
    , m_makeClient(std::move(makeClient))
{
    connect(&m_server, &QTcpServer::newConnection, this, &ClientListener::onNewConnection);
}

bool ClientListener::listen(const ListenAddress &address, QString *problem)
{
    if (m_server.listen(address.host, address.port))
        return true;
    *problem = QStringLiteral("%1: cannot listen on %2: %3")
                   .arg(m_name, address.text(), m_server.errorString());
    return false;
}

ListenAddress ClientListener::address() const
{
    return {m_server.serverAddress(), m_server.serverPort()};
}

void ClientListener::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (m_clients >= m_limit) {
            m_log.event(QStringLiteral("%1: refused %2: already %3 clients")
                            .arg(m_name, peerOf(*socket))
                            .arg(m_limit));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        QObject *client = m_makeClient(socket);
        client->setParent(this);
        ++m_clients;
        connect(client, &QObject::destroyed, this, [this] { --m_clients; });
    }
}

QString peerOf(const QTcpSocket &socket)
{
    return ListenAddress{socket.peerAddress(), socket.peerPort()}.text();
}
