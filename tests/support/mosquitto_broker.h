#pragma once

#include <QHash>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Debian's mosquitto broker on 127.0.0.1 and a loopback port of its own, for the tests and
// benchmarks of zra70d's MQTT; its clients mosquitto_pub and mosquitto_sub talk to it. It
// keeps no retained messages across a restart, as a broker without persistence does.
class MosquittoBroker {
public:
    struct Options {
        bool refuseLogins = false; // every login refused, as for a wrong password
        bool tls = false;          // with a certificate for localhost that caFile() authorises
    };

    ~MosquittoBroker() { stop(); }

    // Returns once it listens, or warns why not. The first start picks a free port; a start
    // after stop() listens on the same one again.
    bool start(const Options &options);
    void stop();

    // mqtt://[USER@]127.0.0.1:PORT, or mqtts://[USER@]localhost:PORT with TLS.
    QString url(const QString &user = {}) const;
    QString caFile() const { return m_dir.filePath(QStringLiteral("cert.pem")); }
    QByteArray log();

    bool publish(const QString &topic, const QByteArray &payload) const;
    // The message the broker keeps for a topic; empty when it keeps none.
    QByteArray retained(const QString &topic) const;
    // What mosquitto_sub needs to reach the broker.
    QStringList clientArguments() const;

private:
    bool writeFiles(const Options &options);
    QString host() const; // the name TLS checks the certificate against, or the address

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    bool m_tls = false;
    QByteArray m_log;
};

// mosquitto_sub on a topic filter for as long as it lives, keeping every message that came.
class MqttWatch {
public:
    MqttWatch(const MosquittoBroker &broker, const QString &filter);
    ~MqttWatch();

    // Waits, running the event loop, until the topic has had this payload.
    bool waitFor(const QString &topic, const QByteArray &payload, int timeoutMs = 10000);
    // Every payload the topic has had, in order.
    QList<QByteArray> payloads(const QString &topic);

private:
    void take();

    QProcess m_process;
    QHash<QString, QList<QByteArray>> m_payloads;
};
