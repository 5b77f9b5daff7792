#include "service_process.h"

#include <QSignalSpy>

ServiceProcess::~ServiceProcess()
{
    if (m_process.state() != QProcess::NotRunning)
        kill();
}

bool ServiceProcess::start(const QStringList &arguments, int timeoutMs)
{
    m_process.start(QStringLiteral(ZRA70D_PROGRAM), arguments);
    QSignalSpy printed(&m_process, &QProcess::readyReadStandardOutput);
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning || !printed.wait(timeoutMs))
            return false;
    }
    const QString ready = QString::fromUtf8(m_process.readLine()).trimmed();
    const qsizetype serving = ready.indexOf(QLatin1String(": serving"));
    if (!ready.startsWith(QLatin1String("zra70d ")) || serving < 0)
        return false;
    for (const QString &field :
         ready.mid(serving + 9).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype equals = field.indexOf(QLatin1Char('='));
        if (equals > 0)
            m_addresses.insert(field.left(equals), field.mid(equals + 1));
    }
    return true;
}

quint16 ServiceProcess::port(const QString &key) const
{
    const QString text = address(key);
    return quint16(text.mid(text.lastIndexOf(QLatin1Char(':')) + 1).toUInt());
}

int ServiceProcess::terminate(int timeoutMs)
{
    m_process.terminate();
    if (!m_process.waitForFinished(timeoutMs)) {
        m_process.kill();
        m_process.waitForFinished();
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

void ServiceProcess::kill()
{
    m_process.kill();
    m_process.waitForFinished();
}

QByteArray ServiceProcess::log()
{
    m_log += m_process.readAllStandardError();
    return m_log;
}
