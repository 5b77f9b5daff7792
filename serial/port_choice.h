#pragma once

#include "serial_port.h"

#include <QString>

#include <memory>

// The port named on the command line: "1" or "2" (the panel's COM1 and COM2, mapped by
// ZRA70_COM1 and ZRA70_COM2 as the panel maps them), or a device path or network address
// (tcp://HOST:PORT, rfc2217://HOST:PORT), opened as port 1.
// Empty with *error set for a number that is no port. The one place a port is made.
std::unique_ptr<SerialPort> createPort(const QString &name, QString *error);

// A failure text of the port as the user of the command line acts on it: where the device
// or address came from --port, the advice to set ZRA70_COM1 points to --port instead.
QString describeForCommandLine(const QString &description, const QString &name);
