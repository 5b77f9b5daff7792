// libFuzzer target for what reaches zra70d from an MQTT broker: a message's topic and payload
// read as a command, in any power phase, and the event that tells what became of it.
//
// Input: the first byte chooses the phase (standby, warming, on, cooling, unknown); the rest is
// the topic, a zero byte, and the payload.

#include "fuzz_require.h"
#include "mqtt_entities.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const ProjectorTopics topics(QStringLiteral("hall"), QStringLiteral("homeassistant"));
    const char *const phases[] = {"80", "40", "00", "20", ""};
    ProjectorState state;
    findStateQuery("CR0")->take(state, phases[data[0] % 5]);

    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const qsizetype zero = rest.indexOf('\0');
    const QString topic = QString::fromUtf8(zero < 0 ? rest : rest.left(zero));
    const QByteArray payload = zero < 0 ? QByteArray() : rest.mid(zero + 1);

    // A code, or else a reason; a code only for one of this projector's command topics.
    const MqttCommand command = commandFor(topics, topic, payload, state);
    require(command.code.isEmpty() != command.refusal.isEmpty());
    if (!command.code.isEmpty())
        require(topic == topics.command(command.key) && payload.size() <= 5);

    const MqttMessage event = eventMessage(topics, command.key, payload, command.refusal);
    const QJsonObject object = QJsonDocument::fromJson(event.payload).object();
    require(!event.retained && event.topic == topics.event());
    require(object.value(QLatin1String("payload")).toString().toUtf8().size() <= 3 * 64);
    return 0;
}
