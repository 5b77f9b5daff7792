#pragma once

#include "network_serial_port.h"
#include "qt_serial_port.h"

// The panel's port, whatever its number maps to: each opening looks at the device name of the
// port number (device_map.h) and opens a local device through QtSerialPort or a network
// address through NetworkSerialPort. Number and settings are kept by both, so either is ready
// for the next opening; the signals of the one last opened are passed on.
class MappedSerialPort final : public SerialPort {
    Q_OBJECT
public:
    explicit MappedSerialPort(NetworkTimings timings = {}, QObject *parent = nullptr);

    PortStatus setPortNumber(int number) override;
    int portNumber() const override { return m_active->portNumber(); }
    PortStatus setSettings(const QString &settings) override;
    QString settings() const override { return m_active->settings(); }
    PortStatus open() override;
    PortStatus close() override { return m_active->close(); }
    bool isOpen() const override { return m_active->isOpen(); }
    bool isReady() const override { return m_active->isReady(); }
    bool isWatchingForReturn() const override { return m_active->isWatchingForReturn(); }
    PortStatus write(const QByteArray &bytes) override { return m_active->write(bytes); }
    QByteArray readAll() override { return m_active->readAll(); }
    QString deviceName() const override { return m_active->deviceName(); }

private:
    void passOnSignals(SerialPort &backend);
    SerialPort &backendForNextOpening();

    QtSerialPort m_local;
    NetworkSerialPort m_network;
    SerialPort *m_active = &m_local;
};
