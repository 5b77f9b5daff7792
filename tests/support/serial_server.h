#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Debian's ser2net in front of a serial device, on a loopback port of its own, for tests and
// benchmarks of the network ports. Runs in the foreground as a child process.
class Ser2netServer {
public:
    enum class Mode { RawTcp, Rfc2217 };

    Ser2netServer() = default;
    ~Ser2netServer() { stop(); }
    Ser2netServer(const Ser2netServer &) = delete;
    Ser2netServer &operator=(const Ser2netServer &) = delete;

    // Serves the device at 19200 8N1 and returns once ser2net listens. The first start picks
    // a free port; a start after stop() listens on the same one again.
    bool start(const QString &devicePath, Mode mode, QString *error);
    // SIGTERM, as a service stop does: ser2net closes its connections on the way out.
    void stop();

    quint16 port() const { return m_port; }
    // The address a port is mapped to: rfc2217://127.0.0.1:PORT or tcp://127.0.0.1:PORT.
    QString url() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    Mode m_mode = Mode::RawTcp;
};
