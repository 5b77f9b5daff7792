#include "port_errors.h"

#include "device_map.h"

namespace {

QString cannotOpen(const OpenFailure &failure)
{
    return QStringLiteral("Serial port %1 cannot be opened: ").arg(failure.portNumber);
}

} // namespace

QString describeOpenFailure(const OpenFailure &failure)
{
    switch (failure.kind) {
    case OpenFailureKind::NotFound:
        return cannotOpen(failure) +
               QStringLiteral("the device %1 was not found. Check that the serial adapter is "
                              "connected, or set %2 to the device to use.")
                   .arg(failure.devicePath, deviceVariableForPort(failure.portNumber));
    case OpenFailureKind::PermissionDenied:
        if (failure.ownerGroup.isEmpty())
            return cannotOpen(failure) +
                   QStringLiteral("permission to use %1 was denied. Ask for read and write "
                                  "access to it, then log out and log in again.")
                       .arg(failure.devicePath);
        return cannotOpen(failure) +
               QStringLiteral("permission to use %1 was denied. The device belongs to the group "
                              "\"%2\": join that group (sudo usermod -aG %2 $USER), then log out "
                              "and log in again.")
                   .arg(failure.devicePath, failure.ownerGroup);
    case OpenFailureKind::InUse: {
        const QString program = failure.lockOwnerName.isEmpty() ? QStringLiteral("another program")
                                                                : failure.lockOwnerName;
        const QString process = failure.lockOwner > 0
                                    ? QStringLiteral(" (process %1)").arg(failure.lockOwner)
                                    : QString();
        return cannotOpen(failure) +
               QStringLiteral("%1 is in use by %2%3. Close that program and try again.")
                   .arg(failure.devicePath, program, process);
    }
    case OpenFailureKind::Other:
        break;
    }
    return cannotOpen(failure) +
           QStringLiteral("%1 reported \"%2\".").arg(failure.devicePath, failure.systemText);
}

QString describeLinkLoss(int portNumber, const QString &devicePath, const QString &systemText)
{
    const QString lost =
        QStringLiteral("The connection on serial port %1 was lost: ").arg(portNumber);
    if (systemText.isEmpty())
        return lost + QStringLiteral("the device %1 went away.").arg(devicePath);
    return lost + QStringLiteral("the device %1 reported \"%2\".").arg(devicePath, systemText);
}

QString describeUnknownPortNumber(int number)
{
    return QStringLiteral("There is no serial port %1: choose port 1 or 2.").arg(number);
}

QString describeRenumberWhileOpen(int openNumber, int requestedNumber)
{
    return QStringLiteral("Serial port %1 is open: close it before choosing port %2.")
        .arg(openNumber)
        .arg(requestedNumber);
}

QString describeAlreadyOpen(int portNumber, const QString &devicePath)
{
    return QStringLiteral("Serial port %1 (%2) is already open.")
        .arg(QString::number(portNumber), devicePath);
}

QString describeNotOpenForWrite(int portNumber, const QString &devicePath)
{
    return QStringLiteral("Nothing was sent: serial port %1 (%2) is not open.")
        .arg(QString::number(portNumber), devicePath);
}

QString describeWriteFailure(int portNumber, const QString &devicePath, const QString &systemText)
{
    return QStringLiteral("Sending on serial port %1 (%2) failed: %3.")
        .arg(QString::number(portNumber), devicePath, systemText);
}

QString describeSettingsRefused(int portNumber, const QString &devicePath, const QString &settings,
                                const QString &systemText)
{
    return QStringLiteral("Serial port %1 (%2) did not take the settings \"%3\": %4.")
        .arg(QString::number(portNumber), devicePath, settings, systemText);
}
