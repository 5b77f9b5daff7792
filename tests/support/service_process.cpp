#include "service_process.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>

bool ServiceProcess::start(const QStringList &arguments)
{
    m_process.start(QStringLiteral(ZRA70D_PROGRAM), arguments);
    QSignalSpy printed(&m_process, &QProcess::readyReadStandardOutput);
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning || !printed.wait(10000))
            return false;
    }
    const QString ready = QString::fromUtf8(m_process.readLine());
    static const QRegularExpression field(QStringLiteral(" (\\w+)=(\\S+)"));
    for (const QRegularExpressionMatch &match : field.globalMatch(ready))
        m_addresses.insert(match.captured(1), match.captured(2));
    return ready.startsWith(QLatin1String("zra70d ")) && ready.contains(QLatin1String(": serving"));
}

quint16 ServiceProcess::port(const QString &key) const
{
    const QString text = address(key);
    return quint16(text.mid(text.lastIndexOf(QLatin1Char(':')) + 1).toUInt());
}

int ServiceProcess::terminate()
{
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        kill();
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

bool writeOwnFile(const QString &path, const QByteArray &text, bool readableByAnyone)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() &&
           file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                               (readableByAnyone ? QFile::ReadOther : QFile::Permissions()));
}
