#include "mapped_serial_port.h"

#include "device_map.h"

MappedSerialPort::MappedSerialPort(NetworkTimings timings, QObject *parent)
    : SerialPort(parent)
    , m_network(timings)
{
    passOnSignals(m_local);
    passOnSignals(m_network);
}

void MappedSerialPort::passOnSignals(SerialPort &backend)
{
    const auto fromActive = [this, &backend] {
        return m_active == &backend;
    };
    connect(&backend, &SerialPort::commEvent, this, [this, fromActive](int code) {
        if (fromActive())
            emit commEvent(code);
    });
    connect(&backend, &SerialPort::linkLost, this, [this, fromActive](const QString &text) {
        if (fromActive())
            emit linkLost(text);
    });
    connect(&backend, &SerialPort::deviceReturned, this, [this, fromActive] {
        if (fromActive())
            emit deviceReturned();
    });
    connect(&backend, &SerialPort::linkReady, this, [this, fromActive] {
        if (fromActive())
            emit linkReady();
    });
}

PortStatus MappedSerialPort::setPortNumber(int number)
{
    if (isOpen())
        return m_active->setPortNumber(number);
    const PortStatus local = m_local.setPortNumber(number);
    m_network.setPortNumber(number);
    return local;
}

PortStatus MappedSerialPort::setSettings(const QString &settings)
{
    // The open one takes them at once and may refuse them; the other keeps them for later.
    SerialPort &idle = m_active == &m_local ? static_cast<SerialPort &>(m_network) : m_local;
    const PortStatus status = m_active->setSettings(settings);
    idle.setSettings(settings);
    return status;
}

PortStatus MappedSerialPort::open()
{
    SerialPort &next = backendForNextOpening();
    if (&next != m_active) {
        if (m_active->isOpen())
            return m_active->open(); // already open: the same refusal as a single port's
        m_active->close();           // ends its watching for a returning device
        m_active = &next;
    }
    return m_active->open();
}

SerialPort &MappedSerialPort::backendForNextOpening()
{
    if (isNetworkPortName(devicePathForPort(m_active->portNumber())))
        return m_network;
    return m_local;
}
