#pragma once

#include "serial_port.h"

// Passes every operation on to a real port and counts the writes it took.
class CountingPort final : public SerialPort {
public:
    explicit CountingPort(SerialPort &inner)
        : m_inner(inner)
    {
        connect(&inner, &SerialPort::commEvent, this, &SerialPort::commEvent);
        connect(&inner, &SerialPort::linkLost, this, &SerialPort::linkLost);
        connect(&inner, &SerialPort::deviceReturned, this, &SerialPort::deviceReturned);
    }

    PortStatus setPortNumber(int number) override { return m_inner.setPortNumber(number); }
    int portNumber() const override { return m_inner.portNumber(); }
    PortStatus setSettings(const QString &settings) override
    {
        return m_inner.setSettings(settings);
    }
    QString settings() const override { return m_inner.settings(); }
    PortStatus open() override { return m_inner.open(); }
    PortStatus close() override { return m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    PortStatus write(const QByteArray &bytes) override
    {
        const PortStatus status = m_inner.write(bytes);
        if (status)
            ++writes;
        return status;
    }
    QByteArray readAll() override { return m_inner.readAll(); }
    QString deviceName() const override { return m_inner.deviceName(); }

    int writes = 0;

private:
    SerialPort &m_inner;
};
