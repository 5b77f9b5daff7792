#pragma once

#include "exchange_request.h"
#include "mqtt_topics.h"

#include <QObject>

class MqttClient;
class ProjectorService;
struct ProjectorState;

// The projector on MQTT: its state published as it changes, its availability, Home
// Assistant's discovery, and the commands of the …/set topics handed to the service's queue,
// with those that change nothing told on the event topic.
class MqttBridge final : public QObject {
    Q_OBJECT
public:
    MqttBridge(ProjectorService &service, MqttClient &client, ProjectorTopics topics);

    // What is left with the broker at a clean end: the projector offline.
    MqttMessage farewell() const;

private:
    void publishEverything();
    void onStateChanged(const ProjectorState &before, const ProjectorState &now);
    void onReceived(const QString &topic, const QByteArray &payload);
    void command(const QString &topic, const QByteArray &payload);
    void publish(const QList<MqttMessage> &messages);

    ProjectorService &m_service;
    MqttClient &m_client;
    ProjectorTopics m_topics;
};
