#include "mqtt_broker_address.h"

#include <QUrl>

QString MqttBrokerAddress::text() const
{
    const QString shown = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return QStringLiteral("%1:%2").arg(shown).arg(port);
}

std::optional<MqttBrokerAddress> parseMqttBrokerAddress(const QString &text, QString *problem)
{
    const QUrl url(text, QUrl::StrictMode);
    // Checked first, and the text never repeated: it may hold a password.
    if (!url.password().isEmpty()) {
        *problem = QStringLiteral("the MQTT password goes in a file (mqtt-password-file), not "
                                  "in the address");
        return std::nullopt;
    }
    const QString scheme = url.scheme();
    const QString path = url.path();
    if (!url.isValid() || (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts")) ||
        url.host().isEmpty() || !(path.isEmpty() || path == QLatin1String("/")) || url.hasQuery() ||
        url.hasFragment() || url.port() == 0) {
        *problem = QStringLiteral("mqtt must be mqtt://[USER@]HOST[:PORT] or mqtts://...");
        return std::nullopt;
    }
    MqttBrokerAddress address;
    address.tls = scheme == QLatin1String("mqtts");
    address.host = url.host();
    address.port = quint16(url.port(address.tls ? 8883 : 1883));
    address.user = url.userName();
    return address;
}
