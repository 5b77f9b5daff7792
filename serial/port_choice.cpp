#include "port_choice.h"

#include "device_map.h"
#include "mapped_serial_port.h"

#include <algorithm>

namespace {

bool isPortNumber(const QString &name)
{
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

std::unique_ptr<SerialPort> createPort(const QString &name, QString *error)
{
    int number = 1;
    if (isPortNumber(name)) {
        number = name.toInt();
        if (!isKnownPortNumber(number)) {
            *error = QStringLiteral("there is no port %1: give 1, 2 or a device path").arg(name);
            return nullptr;
        }
    } else {
        // A device or network address of its own: port 1 of this process opens it, the lock,
        // the network ports and the failure texts then work exactly as for a mapped port.
        qputenv(deviceVariableForPort(1).toLatin1().constData(), name.toLocal8Bit());
    }
    auto port = std::make_unique<MappedSerialPort>();
    port->setPortNumber(number);
    return port;
}

QString describeForCommandLine(const QString &description, const QString &name)
{
    if (isPortNumber(name))
        return description;
    return QString(description).replace(deviceVariableForPort(1), QStringLiteral("--port"));
}
