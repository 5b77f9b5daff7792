#include "sim_process.h"

#include <QFile>

SimProcess::~SimProcess()
{
    stop();
}

bool SimProcess::start(const QStringList &arguments, QString *error)
{
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary directory: ") + m_dir.errorString();
        return false;
    }
    m_process.setStandardErrorFile(m_dir.filePath(QStringLiteral("trace")));
    m_process.start(QStringLiteral(ZRA70_SIM_PATH),
                    QStringList{QStringLiteral("--trace")} + arguments);
    if (!m_process.waitForStarted(5000) || !m_process.waitForReadyRead(5000)) {
        *error = QStringLiteral("zra70-sim did not start: ") + m_process.errorString();
        return false;
    }
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    m_device = QString::fromLocal8Bit(m_process.readLine().trimmed());
    if (m_device.isEmpty()) {
        *error = QStringLiteral("zra70-sim printed no device");
        return false;
    }
    return true;
}

void SimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

QList<SimProcess::Traced> SimProcess::trace() const
{
    QList<Traced> traced;
    QFile file(m_dir.filePath(QStringLiteral("trace")));
    if (!file.open(QIODevice::ReadOnly))
        return traced;
    // "SECONDS.MICROSECONDS COMMAND"; a command may itself contain blanks.
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        const qsizetype blank = line.indexOf(' ');
        const qsizetype dot = line.indexOf('.');
        if (blank < 0 || dot < 0 || dot > blank)
            continue;
        const qint64 seconds = line.left(dot).toLongLong();
        const qint64 micros = line.mid(dot + 1, blank - dot - 1).toLongLong();
        traced.append({seconds * 1'000'000'000 + micros * 1000, line.mid(blank + 1)});
    }
    return traced;
}
