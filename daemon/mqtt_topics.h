#pragma once

#include <QByteArray>
#include <QString>

// One message for the broker. Retained ones stay there for clients that subscribe later.
struct MqttMessage {
    QString topic;
    QByteArray payload;
    bool retained = true;
    friend bool operator==(const MqttMessage &, const MqttMessage &) = default;
};

// The topics of one projector, all made from its name: state, commands, availability and
// events under zra70/NAME/, Home Assistant's discovery under its prefix.
class ProjectorTopics {
public:
    ProjectorTopics(const QString &name, const QString &discoveryPrefix);

    const QString &name() const { return m_name; }
    // "zra70_" and the name, as Home Assistant's device identifier and discovery node: only
    // letters, digits, _ and -, so a name with other characters has them made _ and a hash
    // of the whole name added, which keeps two such names apart.
    const QString &deviceId() const { return m_deviceId; }

    QString state(const QString &key) const;   // zra70/NAME/KEY
    QString command(const QString &key) const; // zra70/NAME/KEY/set
    QString commandFilter() const;             // zra70/NAME/+/set
    QString availability() const;              // zra70/NAME/availability
    QString event() const;                     // zra70/NAME/event
    // PREFIX/COMPONENT/DEVICE_ID/KEY/config
    QString discovery(const QString &component, const QString &key) const;
    QString homeAssistantStatus() const; // PREFIX/status

    // The KEY of a command topic of this projector; empty for any other topic.
    QString commandKey(QStringView topic) const;

private:
    QString m_name;
    QString m_base;
    QString m_prefix;
    QString m_deviceId;
};
