#pragma once

#include "port_status.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// The panel's one serial port: numbered 1 or 2, configured by a settings text such as
// "19200,N,8,1", opened and closed, written and read. Number and settings stay with the
// object across close, renumber and reopen.
class SerialPort : public QObject {
    Q_OBJECT
public:
    // Communication event codes delivered by commEvent().
    enum CommEvent {
        Receive = 2,             // characters are waiting to be read
        EventDeviceError = 1011, // the device failed or went away
    };
    Q_ENUM(CommEvent)

    using QObject::QObject;

    virtual PortStatus setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    // Allowed while open, and then applies at once.
    virtual PortStatus setSettings(const QString &settings) = 0;
    virtual QString settings() const = 0;
    virtual PortStatus open() = 0;
    virtual PortStatus close() = 0;
    virtual bool isOpen() const = 0;
    // Open with the link up, so that writes go out at once. A local port is ready as soon as
    // open() succeeds; a network port once it has connected (and negotiated), see linkReady().
    virtual bool isReady() const { return isOpen(); }
    // After linkLost: whether the port watches for its device and raises deviceReturned. A local
    // device always is; a network server that refused the protocol or a setting is not retried.
    virtual bool isWatchingForReturn() const { return true; }
    // One byte per character, nothing added.
    virtual PortStatus write(const QByteArray &bytes) = 0;
    // Every waiting byte, removed from the buffer.
    virtual QByteArray readAll() = 0;
    // The device the current port number maps to, for messages.
    virtual QString deviceName() const = 0;

signals:
    // Raised on the UI thread as soon as one byte or more is waiting (code Receive), or when
    // the open device fails or goes away (EventDeviceError, just before linkLost).
    void commEvent(int code);
    // The open device failed or went away: the port has closed itself. Raised once a loss.
    void linkLost(const QString &description);
    // The device of a lost link exists again and can be reopened.
    void deviceReturned();
    // The link of an open port that was not ready at open() is now up (network ports). A
    // program that must wait for it: after open(), unless isReady(), wait for linkReady() or
    // linkLost(description), which then tells why the opening failed.
    void linkReady();
};
