#include "device_map.h"

#include "network_address.h"

#include <QtGlobal>

namespace {

// A bare device name means one in /dev, as QSerialPort takes it; the full path is kept so
// that messages and the device check name the file actually opened.
QString systemLocation(const QString &name)
{
    if (isNetworkPortName(name))
        return name;
#ifdef Q_OS_WIN
    return name;
#else
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1String("./")) ||
        name.startsWith(QLatin1String("../")))
        return name;
    return QLatin1String("/dev/") + name;
#endif
}

} // namespace

bool isKnownPortNumber(int number)
{
    return number == 1 || number == 2;
}

QString deviceVariableForPort(int number)
{
    return QStringLiteral("ZRA70_COM%1").arg(number);
}

QString devicePathForPort(int number)
{
    if (!isKnownPortNumber(number))
        return QString();
    const QString chosen =
        qEnvironmentVariable(deviceVariableForPort(number).toLatin1().constData());
    if (!chosen.isEmpty())
        return systemLocation(chosen);
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}
