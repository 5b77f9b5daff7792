#pragma once

#include "port_errors.h"

#include <QSerialPort>
#include <QString>

// What the file system says about a serial device, symbolic links followed.

// Tells a device node that was replaced (unplugged and plugged in again) from the same one.
struct DeviceIdentity {
    quint64 fileSystem = 0;
    quint64 node = 0;
    quint64 device = 0;

    friend bool operator==(const DeviceIdentity &, const DeviceIdentity &) = default;
};

bool deviceExists(const QString &path);
DeviceIdentity deviceIdentity(const QString &path);
// Whether this process may read and write the device now.
bool deviceIsAccessible(const QString &path);

// Why QSerialPort could not open the device: it reports a held lock, a busy device and a
// refused permission all as PermissionError, so the device itself is looked at again.
OpenFailure inspectOpenFailure(int portNumber, const QString &path,
                               QSerialPort::SerialPortError error, const QString &errorText);
