#pragma once

#include "mqtt_broker_address.h"
#include "mqtt_topics.h"

#include <QHostInfo>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

class QSocketNotifier;
class ServiceLog;
struct mosquitto;
struct mosquitto_message;

// A connection to an MQTT broker through libmosquitto, driven from the Qt event loop: socket
// notifiers on the library's socket call its read and write steps, a timer its keep-alive,
// and no thread of its own runs. The host name is looked up in the background first, so a
// slow name server never stalls the loop.
//
// It keeps connecting: a broker that cannot be reached, refuses the login or goes away is
// said once in the log and tried again after a pause that grows to a minute; on every new
// connection the subscriptions are made again and connected() is raised. The will is left
// with the broker at each connection, to be published when the connection dies unclosed.
class MqttClient final : public QObject {
    Q_OBJECT
public:
    struct Settings {
        MqttBrokerAddress broker;
        QByteArray password; // with broker.user
        QString caFile;      // for TLS; empty: the system's certificate authorities
        QString clientId;
        std::optional<MqttMessage> will;
        int keepAliveSeconds = 30;
        int firstRetryMs = 1000;
        int longestRetryMs = 60000;
    };

    MqttClient(Settings settings, const ServiceLog &log);
    ~MqttClient() override;

    // Sets the library up and starts connecting; false with the problem when the settings
    // cannot work (an unreadable certificate file, say).
    bool start(QString *problem);
    bool isConnected() const { return m_connected; }
    // Kept for every connection from now on.
    void subscribe(const QString &filter);
    // Sent at QoS 1 while connected; dropped otherwise (the state is published again on the
    // next connection).
    void publish(const MqttMessage &message);
    // Publishes these, disconnects cleanly (so the will is not published) and waits at most
    // timeoutMs for the bytes to leave.
    void finish(const QList<MqttMessage> &last, int timeoutMs);

signals:
    void connected();
    void received(const QString &topic, const QByteArray &payload);

private:
    void lookUp();
    void onLookedUp(const QHostInfo &info);
    void onReadable();
    void onWritable();
    void settle();
    void watchSocket();
    void dropConnection(const QString &why);
    void trouble(const QString &what);

    static void onConnack(mosquitto *, void *self, int code);
    static void onDisconnect(mosquitto *, void *self, int code);
    static void onLibraryLog(mosquitto *, void *self, int level, const char *text);
    static void onMessage(mosquitto *, void *self, const mosquitto_message *message);

    Settings m_settings;
    const ServiceLog &m_log;
    mosquitto *m_mosq = nullptr;
    std::unique_ptr<QSocketNotifier> m_readable;
    std::unique_ptr<QSocketNotifier> m_writable;
    QTimer m_keepAlive;
    QTimer m_retry;
    int m_retryMs;
    int m_lookUpId = -1;
    QStringList m_filters;
    bool m_connected = false;
    bool m_troubleTold = false;
    bool m_everConnected = false;
    // What the library's callbacks saw, handled once its call has returned.
    std::optional<int> m_connack;
    QString m_lostBecause;
    QList<std::pair<QString, QByteArray>> m_arrived;
};
