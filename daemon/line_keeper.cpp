#include "line_keeper.h"

#include "serial_port.h"
#include "service_log.h"

LineKeeper::LineKeeper(SerialPort &port, const ServiceLog &log)
    : m_port(port)
    , m_log(log)
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &LineKeeper::open);
    connect(&port, &SerialPort::linkReady, this, &LineKeeper::onReady);
    connect(&port, &SerialPort::linkLost, this, &LineKeeper::onTrouble);
    connect(&port, &SerialPort::deviceReturned, this, &LineKeeper::open);
}

void LineKeeper::start()
{
    open();
}

void LineKeeper::open()
{
    m_retry.stop();
    if (m_port.isOpen())
        return;
    if (const PortStatus opened = m_port.open(); !opened) {
        onTrouble(opened.description());
        return;
    }
    if (m_port.isReady())
        onReady(); // a network line says so once it has connected
}

void LineKeeper::onReady()
{
    m_retryMs = FirstRetryMs;
    m_troubleTold = false;
    m_log.event(
        QStringLiteral("line %1: %2")
            .arg(std::exchange(m_wasUp, true) ? QStringLiteral("back") : QStringLiteral("open"),
                 m_port.deviceName()));
    emit lineUp();
}

void LineKeeper::onTrouble(const QString &description)
{
    if (!std::exchange(m_troubleTold, true))
        m_log.event(QStringLiteral("line %1: %2")
                        .arg(m_wasUp ? QStringLiteral("lost") : QStringLiteral("not open"),
                             QString(description).replace(QLatin1Char('\n'), QLatin1Char(' '))));
    // The port may see its device come back first (deviceReturned); this catches the rest.
    m_retry.start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, LongestRetryMs);
}
