#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <optional>

// Where a server listens: an address and a port (0: any free port, reported once listening).
struct ListenAddress {
    QHostAddress host = QHostAddress::LocalHost;
    quint16 port = 0;
    QString text() const;
    friend bool operator==(const ListenAddress &, const ListenAddress &) = default;
};

// Everything zra70d is told, from its configuration file and its command line (which wins).
struct ServiceConfig {
    QString port = QStringLiteral("1"); // 1, 2, a device path or a network address
    int speed = 19200;
    QString name = QStringLiteral("zra70"); // the projector's name, for PJLink and MQTT
    std::optional<ListenAddress> pjlink = ListenAddress{QHostAddress::LocalHost, 4352};
    QString passwordFile; // the PJLink password; none: no authentication
    std::optional<ListenAddress> line;
    int pollSeconds = 10;
    bool verbose = false;
    // MQTT: mqtt://[USER@]HOST[:PORT] or mqtts://...; empty: no MQTT.
    QString mqtt;
    QString mqttPasswordFile;
    QString mqttCa;
    QString discoveryPrefix = QStringLiteral("homeassistant");
};

// The configuration, or the problem to print (exit status 2). --help and --version are answered
// by printing and exiting at once.
struct ParsedConfig {
    std::optional<ServiceConfig> config;
    QString problem;
};
ParsedConfig parseServiceConfig(const QStringList &arguments);

// "4352", "0.0.0.0:4352", "[::1]:4352", "localhost:4352"; a bare port listens on loopback.
std::optional<ListenAddress> parseListenAddress(const QString &text);
