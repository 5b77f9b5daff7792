#pragma once

#include "serial_port.h"

// Hands every operation to the real port and counts the writes and bytes it accepted and the
// bytes the panel read, so a run can compare what the panel wrote with what reached the far
// end, and see how much of a flood the panel took in.
class CountingPort final : public SerialPort {
public:
    explicit CountingPort(SerialPort &inner)
        : m_inner(inner)
    {
        connect(&inner, &SerialPort::commEvent, this, &SerialPort::commEvent);
        connect(&inner, &SerialPort::linkLost, this, &SerialPort::linkLost);
        connect(&inner, &SerialPort::deviceReturned, this, &SerialPort::deviceReturned);
        connect(&inner, &SerialPort::linkReady, this, &SerialPort::linkReady);
    }

    PortStatus setPortNumber(int number) override { return m_inner.setPortNumber(number); }
    int portNumber() const override { return m_inner.portNumber(); }
    PortStatus setSettings(const QString &text) override { return m_inner.setSettings(text); }
    QString settings() const override { return m_inner.settings(); }
    PortStatus open() override { return m_inner.open(); }
    PortStatus close() override { return m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    bool isReady() const override { return m_inner.isReady(); }
    bool isWatchingForReturn() const override { return m_inner.isWatchingForReturn(); }
    PortStatus write(const QByteArray &bytes) override
    {
        PortStatus status = m_inner.write(bytes);
        if (status) {
            ++m_writes;
            m_bytes += bytes.size();
        } else {
            ++m_refused;
        }
        return status;
    }
    QByteArray readAll() override
    {
        QByteArray bytes = m_inner.readAll();
        m_bytesRead += bytes.size();
        return bytes;
    }
    QString deviceName() const override { return m_inner.deviceName(); }

    qint64 writes() const { return m_writes; }
    qint64 bytes() const { return m_bytes; }
    qint64 refused() const { return m_refused; }
    qint64 bytesRead() const { return m_bytesRead; }

private:
    SerialPort &m_inner;
    qint64 m_writes = 0;
    qint64 m_bytes = 0;
    qint64 m_refused = 0;
    qint64 m_bytesRead = 0;
};
