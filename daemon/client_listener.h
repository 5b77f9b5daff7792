#pragma once

#include "service_config.h"

#include <QObject>
#include <QTcpServer>

#include <functional>

class QTcpSocket;
class ServiceLog;

// The door of one of the service's servers: listens, hands each accepted connection to
// makeClient, which gives the object that lives as long as that client, and takes at most
// `limit` clients at once; beyond it a new connection is closed at once and logged.
class ClientListener final : public QObject {
    Q_OBJECT
public:
    using MakeClient = std::function<QObject *(QTcpSocket *socket)>;

    // name: what the log lines begin with ("pjlink", "line port").
    ClientListener(QString name, int limit, const ServiceLog &log, MakeClient makeClient);

    bool listen(const ListenAddress &address, QString *problem);
    ListenAddress address() const;
    int clientCount() const { return m_clients; }

private:
    void onNewConnection();

    QString m_name;
    int m_limit;
    const ServiceLog &m_log;
    MakeClient m_makeClient;
    QTcpServer m_server;
    int m_clients = 0;
};

// "127.0.0.1:53422": a client's address for the log.
QString peerOf(const QTcpSocket &socket);
