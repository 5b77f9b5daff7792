#include "network_address.h"

#include <QHostAddress>

namespace {

struct Scheme {
    const char *prefix;
    NetworkAddress::Kind kind;
};

constexpr Scheme Schemes[] = {
    {"tcp://", NetworkAddress::Kind::RawTcp},
    {"rfc2217://", NetworkAddress::Kind::Rfc2217},
};

bool isHostNameCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('.') ||
           c == QLatin1Char('_');
}

} // namespace

QString NetworkAddress::hostAndPort() const
{
    const bool ipv6 = host.contains(QLatin1Char(':'));
    return (ipv6 ? QLatin1Char('[') + host + QLatin1Char(']') : host) + QLatin1Char(':') +
           QString::number(port);
}

QString NetworkAddress::url() const
{
    return (kind == Kind::Rfc2217 ? QLatin1String("rfc2217://") : QLatin1String("tcp://")) +
           hostAndPort();
}

bool isNetworkPortName(const QString &name)
{
    return name.contains(QLatin1String("://"));
}

std::optional<NetworkAddress> parseNetworkAddress(const QString &name)
{
    NetworkAddress address;
    QStringView rest;
    for (const Scheme &scheme : Schemes) {
        if (name.startsWith(QLatin1String(scheme.prefix), Qt::CaseInsensitive)) {
            address.kind = scheme.kind;
            rest = QStringView(name).mid(qstrlen(scheme.prefix));
        }
    }
    if (rest.isEmpty())
        return std::nullopt;

    const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    QStringView host = rest.first(colon);
    const QStringView portText = rest.mid(colon + 1);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) {
        host = host.mid(1, host.size() - 2);
        if (QHostAddress(host.toString()).protocol() != QAbstractSocket::IPv6Protocol)
            return std::nullopt;
    } else if (host.isEmpty() || !std::all_of(host.begin(), host.end(), isHostNameCharacter)) {
        return std::nullopt;
    }

    bool ok = false;
    const uint port = portText.toUInt(&ok);
    // Digits only: toUInt would also take "+7001" or " 7001".
    const bool digits = std::all_of(portText.begin(), portText.end(),
                                    [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!ok || !digits || port == 0 || port > 65535)
        return std::nullopt;
    address.host = host.toString();
    address.port = quint16(port);
    return address;
}
