#pragma once

#include "mqtt_topics.h"
#include "projector_readings.h"

#include <QList>

#include <optional>
#include <span>

// What a payload on an entity's command topic sends to the projector.
struct MqttCommandRow {
    const char *payload;
    const char *code;
};

// One value of the projector on MQTT and the Home Assistant entity that shows it. The one
// table of them makes the state topics, the command topics and the discovery messages.
struct MqttEntity {
    const char *key;       // its topic under zra70/NAME/ and the end of its unique_id
    const char *component; // Home Assistant's: switch, select, sensor, binary_sensor
    const char *title;     // the entity's name in Home Assistant
    // The state payload; none while the field is unknown, so nothing good is overwritten.
    std::optional<QByteArray> (*payload)(const ProjectorState &state);
    std::span<const MqttCommandRow> commands; // none: read only
    // Why a command cannot be taken in this state (power while warming up), or nullptr.
    const char *(*notNow)(const ProjectorState &state);
    const char *discoveryFields; // Home Assistant's further fields, a JSON object
};

std::span<const MqttEntity> mqttEntities();

// The retained publications that bring the broker from `before` to `now`: one for each entity
// whose payload is known now and is not what it was.
QList<MqttMessage> statePublications(const ProjectorTopics &topics, const ProjectorState &before,
                                     const ProjectorState &now);
// Home Assistant's discovery: one retained config message per entity.
QList<MqttMessage> discoveryMessages(const ProjectorTopics &topics);
// "online" or "offline", retained.
MqttMessage availabilityMessage(const ProjectorTopics &topics, bool online);

// A message on a command topic read: the code to send, or why nothing is sent.
struct MqttCommand {
    QString key; // the entity, from the topic
    QByteArray code;
    QString refusal; // set when code is empty
    friend bool operator==(const MqttCommand &, const MqttCommand &) = default;
};
MqttCommand commandFor(const ProjectorTopics &topics, QStringView topic, QByteArrayView payload,
                       const ProjectorState &state);

// What became of a command that changed nothing, on the event topic (not retained):
// {"command": KEY, "payload": PAYLOAD, "reason": REASON}, the payload cut to 64 bytes.
MqttMessage eventMessage(const ProjectorTopics &topics, const QString &key, QByteArrayView payload,
                         const QString &reason);
