#pragma once

#include "serial_port.h"

#include <QString>

#include <memory>

// The port named on the command line: "1" or "2" (the panel's COM1 and COM2, mapped by
// ZRA70_COM1 and ZRA70_COM2 as the panel maps them) or a device path, opened as port 1.
// Empty with *error set for a number that is no port. The one place a port is made.
std::unique_ptr<SerialPort> createPort(const QString &name, QString *error);
