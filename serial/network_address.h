#pragma once

#include <QString>

#include <optional>

// A serial line reached across the network, named where a device path is accepted:
//   tcp://HOST:PORT      raw TCP; the line settings are fixed on the server
//   rfc2217://HOST:PORT  Telnet with the COM-PORT-OPTION; the port's settings reach the line
// HOST is a name, an IPv4 address or an IPv6 address in brackets ([::1]).
struct NetworkAddress {
    enum class Kind { RawTcp, Rfc2217 };

    Kind kind = Kind::RawTcp;
    QString host; // without brackets
    quint16 port = 0;

    // "127.0.0.1:7001", "[::1]:7001": for messages.
    QString hostAndPort() const;
    QString url() const;
};

// Whether a device name is meant as a network address (it has a scheme), valid or not.
bool isNetworkPortName(const QString &name);

// Nothing when the name is not a well-formed network address.
std::optional<NetworkAddress> parseNetworkAddress(const QString &name);
