#pragma once

#include "client_listener.h"
#include "pjlink_protocol.h"

#include <QObject>

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

    bool listen(const ListenAddress &address, QString *problem)
    {
        return m_listener.listen(address, problem);
    }
    ListenAddress address() const { return m_listener.address(); }
    int clientCount() const { return m_listener.clientCount(); }

private:
    Settings m_settings;
    ClientListener m_listener;
};
