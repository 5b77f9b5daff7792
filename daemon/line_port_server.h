#pragma once

#include "client_listener.h"

#include <QObject>

class ProjectorService;
class ServiceLog;

// The projector's line on a raw TCP port, for zra70-panel and zra70ctl (tcp://HOST:PORT):
// each command a client ends with a carriage return joins the queue as one exchange, and the
// bytes of its reply go back to that client only, in the order of its commands. What the
// projector would refuse at once, a line longer than it reads, is answered NAK without going
// on the line. A client that keeps more commands waiting than the limit has the excess
// dropped, as a line too busy would; one that reads none of its replies is disconnected.
//
// Clients are not timed out for being idle: the panel holds its port open for its whole run,
// as it would a serial line. TCP keep-alive finds peers that have gone.
class LinePortServer final : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int connections = 8;
        qsizetype lineLength = 256;
        int waitingCommands = 64;
        qint64 unreadReplies = 64 * 1024;
    };

    LinePortServer(ProjectorService &service, const ServiceLog &log, Limits limits);
    LinePortServer(ProjectorService &service, const ServiceLog &log)
        : LinePortServer(service, log, Limits{})
    {
    }

    bool listen(const ListenAddress &address, QString *problem)
    {
        return m_listener.listen(address, problem);
    }
    ListenAddress address() const { return m_listener.address(); }
    int clientCount() const { return m_listener.clientCount(); }

private:
    Limits m_limits;
    ClientListener m_listener;
};
