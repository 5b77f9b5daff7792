#pragma once

#include <QString>

#include <optional>

// Where the MQTT broker is: mqtt://[USER@]HOST[:PORT] (port 1883) or mqtts://... (TLS, port
// 8883). IPv6 addresses go in brackets. A password in the address is refused: it belongs in
// a file.
struct MqttBrokerAddress {
    QString host;
    quint16 port = 1883;
    bool tls = false;
    QString user;         // empty: no login
    QString text() const; // HOST:PORT, for the log and the ready line
    friend bool operator==(const MqttBrokerAddress &, const MqttBrokerAddress &) = default;
};

std::optional<MqttBrokerAddress> parseMqttBrokerAddress(const QString &text, QString *problem);
