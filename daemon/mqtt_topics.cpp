#include "mqtt_topics.h"

#include <QCryptographicHash>

namespace {

const QString SetLevel = QStringLiteral("/set");

bool isIdCharacter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') ||
           c == QLatin1Char('-');
}

QString deviceIdFor(const QString &name)
{
    QString id = QStringLiteral("zra70_") + name;
    if (std::all_of(name.begin(), name.end(), isIdCharacter))
        return id;
    for (QChar &c : id) {
        if (!isIdCharacter(c))
            c = QLatin1Char('_');
    }
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1);
    return id + QLatin1Char('_') + QString::fromLatin1(hash.left(4).toHex());
}

} // namespace

ProjectorTopics::ProjectorTopics(const QString &name, const QString &discoveryPrefix)
    : m_name(name)
    , m_base(QStringLiteral("zra70/") + name)
    , m_prefix(discoveryPrefix)
    , m_deviceId(deviceIdFor(name))
{
}

QString ProjectorTopics::state(const QString &key) const
{
    return m_base + QLatin1Char('/') + key;
}

QString ProjectorTopics::command(const QString &key) const
{
    return state(key) + SetLevel;
}

QString ProjectorTopics::commandFilter() const
{
    return command(QStringLiteral("+"));
}

QString ProjectorTopics::availability() const
{
    return state(QStringLiteral("availability"));
}

QString ProjectorTopics::event() const
{
    return state(QStringLiteral("event"));
}

QString ProjectorTopics::discovery(const QString &component, const QString &key) const
{
    return QStringLiteral("%1/%2/%3/%4/config").arg(m_prefix, component, m_deviceId, key);
}

QString ProjectorTopics::homeAssistantStatus() const
{
    return m_prefix + QStringLiteral("/status");
}

QString ProjectorTopics::commandKey(QStringView topic) const
{
    const QString start = m_base + QLatin1Char('/');
    const qsizetype keyLength = topic.size() - start.size() - SetLevel.size();
    if (keyLength <= 0 || !topic.startsWith(start) || !topic.endsWith(SetLevel))
        return {};
    const QStringView key = topic.mid(start.size(), keyLength);
    return key.contains(QLatin1Char('/')) ? QString() : key.toString();
}
