#pragma once

#include "pjlink_protocol.h"
#include "service_config.h"

#include <QObject>
#include <QTcpServer>

#include <optional>

class ProjectorService;
class ServiceLog;
class TimerService;

// PJLink Class 1 on TCP: each connection is greeted, logs in when there is a password, and
// has its commands answered one at a time, in order, from the projector's state or by
// commands on its line. A connection that sends no command for idleMs is closed; beyond the
// connection limit a new one is closed at once. Replies go out as one write each.
class PjlinkServer final : public QObject {
    Q_OBJECT
public:
    struct Settings {
        pjlink::Identity identity;
        std::optional<QByteArray> password; // none: no authentication
        int connections = 32;
        int idleMs = 30000;
    };

    PjlinkServer(ProjectorService &service, TimerService &timers, const ServiceLog &log,
                 Settings settings);

    bool listen(const ListenAddress &address, QString *problem);
    ListenAddress address() const;
    int clientCount() const { return m_clients; }

private:
    void onNewConnection();

    ProjectorService &m_service;
    TimerService &m_timers;
    const ServiceLog &m_log;
    Settings m_settings;
    QTcpServer m_server;
    int m_clients = 0;
};
