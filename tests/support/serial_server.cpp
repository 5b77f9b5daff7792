#include "serial_server.h"

#include "loopback_port.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <csignal>
#include <unistd.h>

// Where sredird keeps its lock of the device; gone once it has let the device go.
constexpr auto LockFile = "LCK..line";

QString SerialServer::start(const QString &devicePath, Kind kind)
{
    stop();
    m_kind = kind;
    if (m_port == 0)
        m_port = freeLoopbackPort();
    const QString port = QString::number(m_port);
    if (!m_dir.isValid() || m_port == 0)
        return "no free port or no temporary folder for the server";
    // sredird serves one connection and ends with it: socat accepts for it as inetd would. Its
    // log level is 0: without a syslog daemon, sredird 2.2 logging its exit can hang or spin.
    QString program = "socat";
    QStringList arguments{QStringLiteral("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr,fork").arg(port),
                          "EXEC:/usr/sbin/sredird 0 " + devicePath + ' ' +
                              m_dir.filePath(LockFile)};
    if (kind != Kind::Sredird) {
        // ser2net's one-line configuration: address,port:mode:timeout:device:options; remctl
        // takes RFC 2217 on a telnet port.
        const QString line =
            QStringLiteral("127.0.0.1,%1:%2:0:%3:19200 8DATABITS NONE 1STOPBIT LOCAL remctl")
                .arg(port, kind == Kind::Ser2netRfc2217 ? "telnet" : "raw", devicePath);
        program = "/usr/sbin/ser2net";
        arguments = QStringList{"-n", "-u", "-P", m_dir.filePath("pid"), "-C", line};
    }
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
    m_process.start(program, arguments);
    if (!m_process.waitForStarted(5000))
        return QStringLiteral("%1 did not start (%2); scripts/install-deps.sh installs it")
            .arg(program, m_process.errorString());
    const QDeadlineTimer deadline(5000);
    while (!isListening(m_port)) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running) {
            const QString output = QString::fromLocal8Bit(m_process.readAll());
            stop();
            return QStringLiteral("%1 does not listen on port %2: %3").arg(program, port, output);
        }
        QThread::msleep(10);
    }
    return {};
}

void SerialServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    const pid_t group = pid_t(m_process.processId());
    if (group <= 0)
        return;
    ::kill(-group, SIGTERM);
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    // On SIGTERM sredird closes its connection and removes its lock, but then runs on at full
    // speed instead of ending: once the lock is gone, nothing of the group is needed.
    const QDeadlineTimer deadline(2000);
    while (QFile::exists(m_dir.filePath(LockFile)) && !deadline.hasExpired())
        QThread::msleep(10);
    ::kill(-group, SIGKILL);
    m_process.waitForFinished(1000);
}

QString SerialServer::url() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(m_kind == Kind::Ser2netRawTcp ? QStringLiteral("tcp") : QStringLiteral("rfc2217"))
        .arg(m_port);
}
