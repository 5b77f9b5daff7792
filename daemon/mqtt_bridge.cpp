#include "mqtt_bridge.h"

#include "mqtt_client.h"
#include "mqtt_entities.h"
#include "projector_service.h"

#include <QPointer>

namespace {

// Why a command the projector was sent changed nothing; empty when it was taken.
QString failureOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Ack:
    case Outcome::Answer:
        break;
    case Outcome::Refused:
        return QStringLiteral("refused by the projector");
    case Outcome::NoReply:
        return QStringLiteral("no reply");
    case Outcome::LineLost:
        return QStringLiteral("line lost");
    }
    return {};
}

} // namespace

MqttBridge::MqttBridge(ProjectorService &service, MqttClient &client, ProjectorTopics topics)
    : m_service(service)
    , m_client(client)
    , m_topics(std::move(topics))
{
    m_client.subscribe(m_topics.commandFilter());
    m_client.subscribe(m_topics.homeAssistantStatus());
    connect(&m_client, &MqttClient::connected, this, &MqttBridge::publishEverything);
    connect(&m_client, &MqttClient::received, this, &MqttBridge::onReceived);
    connect(&m_service, &ProjectorService::stateChanged, this, &MqttBridge::onStateChanged);
    connect(&m_service, &ProjectorService::answeringChanged, this,
            [this](bool answering) { m_client.publish(availabilityMessage(m_topics, answering)); });
}

MqttMessage MqttBridge::farewell() const
{
    return availabilityMessage(m_topics, false);
}

void MqttBridge::publishEverything()
{
    publish(discoveryMessages(m_topics));
    m_client.publish(availabilityMessage(m_topics, m_service.isAnswering()));
    publish(statePublications(m_topics, {}, m_service.state()));
}

void MqttBridge::onStateChanged(const ProjectorState &before, const ProjectorState &now)
{
    publish(statePublications(m_topics, before, now));
}

void MqttBridge::onReceived(const QString &topic, const QByteArray &payload)
{
    if (topic == m_topics.homeAssistantStatus()) {
        // Home Assistant has (re)started and forgotten what it was told.
        if (payload == "online")
            publish(discoveryMessages(m_topics));
        return;
    }
    command(topic, payload);
}

void MqttBridge::command(const QString &topic, const QByteArray &payload)
{
    const MqttCommand command = commandFor(m_topics, topic, payload, m_service.state());
    if (command.code.isEmpty()) {
        m_client.publish(eventMessage(m_topics, command.key, payload, command.refusal));
        return;
    }
    // The state follows from the service reading again what the command may have changed.
    m_service.command(command.code, [bridge = QPointer(this), command, payload](Outcome outcome) {
        const QString failure = failureOf(outcome);
        if (bridge && !failure.isEmpty())
            bridge->m_client.publish(eventMessage(bridge->m_topics, command.key, payload, failure));
    });
}

void MqttBridge::publish(const QList<MqttMessage> &messages)
{
    for (const MqttMessage &message : messages)
        m_client.publish(message);
}
