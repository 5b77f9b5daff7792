#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// One of Debian's serial servers in front of a serial device, on a loopback port of its own, for
// tests and benchmarks of the network ports: ser2net in either of its modes, or sredird, run
// once per connection as inetd would run it (socat accepts the connections for it here). The
// server runs as a child process group, so that stopping it ends its connections too.
class SerialServer {
public:
    enum class Kind { Ser2netRawTcp, Ser2netRfc2217, Sredird };

    SerialServer() = default;
    ~SerialServer() { stop(); }
    SerialServer(const SerialServer &) = delete;
    SerialServer &operator=(const SerialServer &) = delete;

    // Serves the device (ser2net sets 19200 8N1 on it, sredird leaves it as it is until asked)
    // and returns once the server listens: nothing, or what went wrong. The first start picks a
    // free port; a start after stop() listens on the same one again.
    QString start(const QString &devicePath, Kind kind);
    // SIGTERM, as a service stop does: the servers close their connections on the way out.
    void stop();

    quint16 port() const { return m_port; }
    // The address a port is mapped to: rfc2217://127.0.0.1:PORT or tcp://127.0.0.1:PORT.
    QString url() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    Kind m_kind = Kind::Ser2netRawTcp;
};
