#include "network_errors.h"

#include "device_map.h"
#include "port_errors.h"

namespace {

QString duration(int ms)
{
    if (ms % 1000 != 0)
        return QStringLiteral("%1 ms").arg(ms);
    return ms == 1000 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(ms / 1000);
}

QString serverClosed(const NetworkAddress &address, const QString &said)
{
    if (said.isEmpty())
        return QStringLiteral("the server at %1 closed the connection.").arg(address.hostAndPort());
    return QStringLiteral("the server at %1 closed the connection, saying \"%2\".")
        .arg(address.hostAndPort(), said);
}

} // namespace

bool isWorthRetrying(const NetworkFailure &failure)
{
    // A server that does not speak the protocol or refuses the settings does so again; asking
    // a raw port over and over would also send the Telnet offers down the line as data.
    return failure.kind != NetworkFailure::Kind::NotRfc2217 &&
           failure.kind != NetworkFailure::Kind::SettingRefused;
}

QString describeNetworkOpenFailure(int portNumber, const NetworkAddress &address,
                                   const QString &settings, int answerMs,
                                   const NetworkFailure &failure)
{
    const QString cannotOpen = QStringLiteral("Serial port %1 cannot be opened: ").arg(portNumber);
    const QString variable = deviceVariableForPort(portNumber);
    using Kind = NetworkFailure::Kind;
    switch (failure.kind) {
    case Kind::HostNotFound:
        return cannotOpen +
               QStringLiteral("the host \"%1\" of %2 was not found. Check the host name in %3.")
                   .arg(address.host, address.url(), variable);
    case Kind::Refused:
        return cannotOpen +
               QStringLiteral("%1 refused the connection. Check that the serial server is "
                              "running there and listens on port %2, or set %3 to the right "
                              "address.")
                   .arg(address.host, QString::number(address.port), variable);
    case Kind::NoAnswer:
        return cannotOpen + QStringLiteral("%1 did not answer within %2. Check that the host is "
                                           "on and reachable and that %3 names it rightly.")
                                .arg(address.hostAndPort(), duration(answerMs), variable);
    case Kind::NotRfc2217:
        return cannotOpen +
               QStringLiteral("the server at %1 does not speak RFC 2217 (%2). Turn on "
                              "telnet(rfc2217) for that port on the server, or use tcp://%1 for "
                              "a raw port whose line settings are fixed on the server.")
                   .arg(address.hostAndPort(),
                        failure.detail.isEmpty()
                            ? QStringLiteral("no answer to the serial port option within %1")
                                  .arg(duration(answerMs))
                            : failure.detail);
    case Kind::SettingRefused:
        return describeSettingsRefused(portNumber, address.url(), settings, failure.detail);
    case Kind::ClosedByServer:
        return cannotOpen + serverClosed(address, failure.detail) +
               QStringLiteral(" Its serial device may be missing or in use by another client.");
    case Kind::NetworkError:
        break;
    }
    return cannotOpen +
           QStringLiteral("the network reported \"%1\" for %2.").arg(failure.detail, address.url());
}

QString describeNetworkLoss(int portNumber, const NetworkAddress &address, const QString &settings,
                            const NetworkFailure &failure)
{
    if (failure.kind == NetworkFailure::Kind::SettingRefused)
        return describeSettingsRefused(portNumber, address.url(), settings, failure.detail);
    const QString lost =
        QStringLiteral("The connection on serial port %1 was lost: ").arg(portNumber);
    if (failure.kind == NetworkFailure::Kind::ClosedByServer)
        return lost + serverClosed(address, failure.detail);
    return lost +
           QStringLiteral("the network reported \"%1\" for %2.").arg(failure.detail, address.url());
}

QString describeBadNetworkAddress(int portNumber, const QString &name)
{
    return QStringLiteral("Serial port %1 cannot be opened: \"%2\" in %3 is not a network "
                          "address. Write tcp://HOST:PORT or rfc2217://HOST:PORT, with an IPv6 "
                          "address in brackets and a port from 1 to 65535.")
        .arg(QString::number(portNumber), name, deviceVariableForPort(portNumber));
}
