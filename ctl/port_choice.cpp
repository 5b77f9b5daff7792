#include "port_choice.h"

#include "device_map.h"
#include "qt_serial_port.h"

#include <algorithm>

std::unique_ptr<SerialPort> createPort(const QString &name, QString *error)
{
    int number = 1;
    if (std::all_of(name.begin(), name.end(), [](QChar c) { return c.isDigit(); })) {
        number = name.toInt();
        if (!isKnownPortNumber(number)) {
            *error = QStringLiteral("there is no port %1: give 1, 2 or a device path").arg(name);
            return nullptr;
        }
    } else {
        // A device of its own: port 1 of this process opens it, the lock and the failure
        // texts then work exactly as for a mapped port.
        qputenv(deviceVariableForPort(1).toLatin1().constData(), name.toLocal8Bit());
    }
    auto port = std::make_unique<QtSerialPort>();
    port->setPortNumber(number);
    return port;
}
