#include "mqtt_entities.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QByteArray onOff(bool on)
{
    return on ? QByteArrayLiteral("ON") : QByteArrayLiteral("OFF");
}

// The switch is on from the power-on command until the power-off command: while warming up
// too, and no longer while cooling down.
std::optional<QByteArray> power(const ProjectorState &state)
{
    if (!state.power)
        return std::nullopt;
    const PowerPhase phase = state.power->phase;
    return onOff(phase == PowerPhase::WarmingUp || phase == PowerPhase::On);
}

std::optional<QByteArray> phase(const ProjectorState &state)
{
    if (!state.power)
        return std::nullopt;
    return powerPhaseName(state.power->phase).toUtf8();
}

std::optional<QByteArray> input(const ProjectorState &state)
{
    if (!state.input)
        return std::nullopt;
    return inputName(*state.input).toUtf8();
}

// While the projector shows nothing (in standby, or without a signal) it reports no mute
// bits, and nothing is muted: the switches read OFF then.
std::optional<QByteArray> pictureMute(const ProjectorState &state)
{
    if (!state.mutes)
        return std::nullopt;
    return onOff(state.mutes->picture);
}

std::optional<QByteArray> soundMute(const ProjectorState &state)
{
    if (!state.mutes)
        return std::nullopt;
    return onOff(state.mutes->sound);
}

std::optional<QByteArray> lampHours(const ProjectorState &state)
{
    if (!state.lampHours)
        return std::nullopt;
    return QByteArray::number(*state.lampHours);
}

std::optional<QByteArray> lampLit(const ProjectorState &state)
{
    if (!state.lampLit)
        return std::nullopt;
    return onOff(*state.lampLit);
}

template <size_t Index> std::optional<QByteArray> temperature(const ProjectorState &state)
{
    if (!state.temperatures)
        return std::nullopt;
    return QByteArray::number((*state.temperatures)[Index], 'f', 1);
}

std::optional<QByteArray> model(const ProjectorState &state)
{
    if (!state.model)
        return std::nullopt;
    return state.model->toUtf8();
}

// A power command in the middle of a transition would be acknowledged and ignored.
const char *powerNotNow(const ProjectorState &state)
{
    if (!state.power)
        return nullptr;
    switch (state.power->phase) {
    case PowerPhase::WarmingUp:
        return "warming up";
    case PowerPhase::CoolingDown:
        return "cooling down";
    case PowerPhase::Standby:
    case PowerPhase::On:
        break;
    }
    return nullptr;
}

constexpr MqttCommandRow PowerCommands[] = {{"ON", "C00"}, {"OFF", "C01"}};
constexpr MqttCommandRow InputCommands[] = {{"PC1", "C05"}, {"PC2", "C06"}, {"Video", "C07"}};
constexpr MqttCommandRow PictureMuteCommands[] = {{"ON", "C0D"}, {"OFF", "C0E"}};
constexpr MqttCommandRow SoundMuteCommands[] = {{"ON", "C0B"}, {"OFF", "C0C"}};

constexpr char NoFields[] = "{}";
constexpr char TemperatureFields[] = R"({"device_class": "temperature",
    "unit_of_measurement": "°C", "state_class": "measurement"})";

const MqttEntity Entities[] = {
    {"power", "switch", "Power", power, PowerCommands, powerNotNow, NoFields},
    {"phase",
     "sensor",
     "Power phase",
     phase,
     {},
     nullptr,
     R"({"device_class": "enum", "options": ["standby", "warming", "on", "cooling"]})"},
    {"input", "select", "Input", input, InputCommands, nullptr, NoFields},
    {"picture_mute", "switch", "Picture mute", pictureMute, PictureMuteCommands, nullptr, NoFields},
    {"sound_mute", "switch", "Sound mute", soundMute, SoundMuteCommands, nullptr, NoFields},
    {"lamp_hours",
     "sensor",
     "Lamp hours",
     lampHours,
     {},
     nullptr,
     R"({"device_class": "duration", "unit_of_measurement": "h",
         "state_class": "total_increasing"})"},
    {"lamp_lit", "binary_sensor", "Lamp", lampLit, {}, nullptr, R"({"device_class": "light"})"},
    {"temperature_1", "sensor", "Temperature 1", temperature<0>, {}, nullptr, TemperatureFields},
    {"temperature_2", "sensor", "Temperature 2", temperature<1>, {}, nullptr, TemperatureFields},
    {"temperature_3", "sensor", "Temperature 3", temperature<2>, {}, nullptr, TemperatureFields},
    {"model", "sensor", "Model", model, {}, nullptr, R"({"entity_category": "diagnostic"})"},
};

QJsonArray commandPayloads(const MqttEntity &entity)
{
    QJsonArray payloads;
    for (const MqttCommandRow &row : entity.commands)
        payloads.append(QLatin1String(row.payload));
    return payloads;
}

QJsonObject discoveryConfig(const ProjectorTopics &topics, const MqttEntity &entity)
{
    QJsonObject config = QJsonDocument::fromJson(entity.discoveryFields).object();
    const QString key = QLatin1String(entity.key);
    config[QLatin1String("name")] = QString::fromUtf8(entity.title);
    config[QLatin1String("unique_id")] = topics.deviceId() + QLatin1Char('_') + key;
    config[QLatin1String("state_topic")] = topics.state(key);
    config[QLatin1String("availability_topic")] = topics.availability();
    config[QLatin1String("device")] = QJsonObject{
        {QLatin1String("identifiers"), QJsonArray{topics.deviceId()}},
        {QLatin1String("name"), topics.name()},
        {QLatin1String("model"), QLatin1String("ZRA70 series")},
    };
    if (!entity.commands.empty()) {
        config[QLatin1String("command_topic")] = topics.command(key);
        if (qstrcmp(entity.component, "select") == 0)
            config[QLatin1String("options")] = commandPayloads(entity);
    }
    return config;
}

} // namespace

std::span<const MqttEntity> mqttEntities()
{
    return Entities;
}

QList<MqttMessage> statePublications(const ProjectorTopics &topics, const ProjectorState &before,
                                     const ProjectorState &now)
{
    QList<MqttMessage> messages;
    for (const MqttEntity &entity : Entities) {
        const std::optional<QByteArray> payload = entity.payload(now);
        if (payload && payload != entity.payload(before))
            messages.append({topics.state(QString::fromLatin1(entity.key)), *payload});
    }
    return messages;
}

QList<MqttMessage> discoveryMessages(const ProjectorTopics &topics)
{
    QList<MqttMessage> messages;
    for (const MqttEntity &entity : Entities)
        messages.append(
            {topics.discovery(QString::fromLatin1(entity.component),
                              QString::fromLatin1(entity.key)),
             QJsonDocument(discoveryConfig(topics, entity)).toJson(QJsonDocument::Compact)});
    return messages;
}

MqttMessage availabilityMessage(const ProjectorTopics &topics, bool online)
{
    return {topics.availability(),
            online ? QByteArrayLiteral("online") : QByteArrayLiteral("offline")};
}

MqttCommand commandFor(const ProjectorTopics &topics, QStringView topic, QByteArrayView payload,
                       const ProjectorState &state)
{
    const QString key = topics.commandKey(topic);
    const auto entity =
        std::find_if(std::begin(Entities), std::end(Entities),
                     [&](const MqttEntity &e) { return key == QLatin1String(e.key); });
    if (entity == std::end(Entities) || entity->commands.empty())
        return {key, {}, QStringLiteral("takes no commands")};
    QStringList accepted;
    for (const MqttCommandRow &row : entity->commands) {
        if (payload != QByteArrayView(row.payload)) {
            accepted.append(QLatin1String(row.payload));
            continue;
        }
        if (const char *reason = entity->notNow ? entity->notNow(state) : nullptr)
            return {key, {}, QLatin1String(reason)};
        return {key, row.code, {}};
    }
    return {key, {}, QStringLiteral("expects %1").arg(accepted.join(QLatin1String(", ")))};
}

MqttMessage eventMessage(const ProjectorTopics &topics, const QString &key, QByteArrayView payload,
                         const QString &reason)
{
    const QJsonObject event{
        {QLatin1String("command"), key},
        {QLatin1String("payload"),
         QString::fromUtf8(payload.first(std::min<qsizetype>(payload.size(), 64)))},
        {QLatin1String("reason"), reason},
    };
    return {topics.event(), QJsonDocument(event).toJson(QJsonDocument::Compact), false};
}
