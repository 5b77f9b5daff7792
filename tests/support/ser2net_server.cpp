#include "ser2net_server.h"

#include "loopback_port.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

bool Ser2netServer::start(const QString &devicePath, Mode mode, QString *error)
{
    stop();
    m_mode = mode;
    if (m_port == 0)
        m_port = freeLoopbackPort();
    const QString accepter =
        mode == Mode::Rfc2217 ? QStringLiteral("telnet(rfc2217),tcp") : QStringLiteral("tcp");
    const QString config = QStringLiteral("connection: &line\n"
                                          "  accepter: %1,127.0.0.1,%2\n"
                                          "  connector: serialdev,%3,19200n81,local\n")
                               .arg(accepter, QString::number(m_port), devicePath);
    QFile file(m_dir.filePath(QStringLiteral("ser2net.yaml")));
    if (!m_dir.isValid() || m_port == 0 || !file.open(QIODevice::WriteOnly) ||
        file.write(config.toUtf8()) < 0) {
        *error = QStringLiteral("cannot write the ser2net configuration");
        return false;
    }
    file.close();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("ser2net"),
                    {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"),
                     file.fileName(), QStringLiteral("-P"),
                     m_dir.filePath(QStringLiteral("ser2net.pid"))});
    if (!m_process.waitForStarted(5000)) {
        *error = QStringLiteral("ser2net did not start (%1); scripts/install-deps.sh installs it")
                     .arg(m_process.errorString());
        return false;
    }
    const QDeadlineTimer deadline(5000);
    while (!isListening(m_port)) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running) {
            *error = QStringLiteral("ser2net does not listen on port %1: %2")
                         .arg(QString::number(m_port), QString::fromLocal8Bit(m_process.readAll()));
            stop();
            return false;
        }
        QThread::msleep(10);
    }
    return true;
}

void Ser2netServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

QString Ser2netServer::url() const
{
    return QStringLiteral("%1://127.0.0.1:%2")
        .arg(m_mode == Mode::Rfc2217 ? QStringLiteral("rfc2217") : QStringLiteral("tcp"))
        .arg(m_port);
}
