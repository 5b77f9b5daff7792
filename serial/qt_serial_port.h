#pragma once

#include "serial_port.h"

#include <memory>

// The panel's port on a real serial device through QSerialPort.
// Port 1 maps to $ZRA70_COM1 when set, else /dev/ttyS0 (COM1 on Windows); port 2 likewise.
// No flow control; the modem control lines are left alone.
//
// A lost link (the device errs or its path disappears while open, checked every 500 ms)
// closes the port and is reported once through commEvent(EventDeviceError) and linkLost().
// The path is then watched until the device is back and usable (deviceReturned()). Any
// explicit open, close or renumbering ends the watching.
class QtSerialPort final : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject *parent = nullptr);
    ~QtSerialPort() override;

    PortStatus setPortNumber(int number) override;
    int portNumber() const override;
    PortStatus setSettings(const QString &settings) override;
    QString settings() const override;
    PortStatus open() override;
    PortStatus close() override;
    bool isOpen() const override;
    PortStatus write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    QString deviceName() const override;

private:
    struct Private;
    std::unique_ptr<Private> d;

    void onPortError(int error);
    void onReadyRead();
    void checkDevice();
    void loseLink(quint64 openingId, const QString &systemText);
    void stopWatching();
};
