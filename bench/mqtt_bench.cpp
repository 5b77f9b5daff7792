#include "clock.h"
#include "event_loop.h"
#include "mosquitto_broker.h"
#include "mqtt_client.h"
#include "profile.h"
#include "projector_simulator.h"
#include "report.h"
#include "scenarios.h"
#include "service_log.h"
#include "service_process.h"
#include "stats.h"

#include <QTcpSocket>

namespace {

// Broker and line are local: a handful of loopback hops and one exchange on a pty. A press in
// Home Assistant feels immediate well within 100 ms, but the targets are tighter, so that a
// stall of a delayed TCP acknowledgement (20-40 ms, when Nagle's algorithm holds a message
// back) shows as a miss.
constexpr double P50LimitMs = 2;
constexpr double P99LimitMs = 10;
const QString Base = QStringLiteral("zra70/bench/");

// The broker, the simulator (served by this process's event loop), zra70d between them and
// an MQTT client of the bench's own, as Home Assistant would be.
struct MqttRig {
    MosquittoBroker broker;
    ProjectorSimulator simulator;
    ServiceProcess service;
    ServiceLog log{false};
    std::unique_ptr<MqttClient> client;
    // When each publication arrived, by topic and payload.
    QHash<QString, QList<std::pair<QByteArray, qint64>>> arrivals;

    bool start()
    {
        QString error;
        if (!broker.start({}) || !simulator.start() ||
            !service.start({"--port", simulator.devicePath(), "--name", "bench", "--pjlink", "off",
                            "--line", "0", "--mqtt", broker.url()}))
            return false;
        MqttClient::Settings settings;
        settings.broker = *parseMqttBrokerAddress(broker.url(), &error);
        settings.clientId = QStringLiteral("zra70-bench");
        client = std::make_unique<MqttClient>(settings, log);
        QObject::connect(client.get(), &MqttClient::received,
                         [this](const QString &topic, const QByteArray &payload) {
                             arrivals[topic].append({payload, steadyNowNs()});
                         });
        client->subscribe(Base + QStringLiteral("#"));
        return client->start(&error) && waitFor(QStringLiteral("phase"), "standby", 10000);
    }

    std::optional<qint64> arrival(const QString &key, const QByteArray &payload,
                                  qsizetype from = 0) const
    {
        const auto &list = arrivals.value(Base + key);
        for (qsizetype i = from; i < list.size(); ++i) {
            if (list[i].first == payload)
                return list[i].second;
        }
        return std::nullopt;
    }

    bool waitFor(const QString &key, const QByteArray &payload, int timeoutMs)
    {
        return runEventLoopUntil([&] { return arrival(key, payload).has_value(); }, timeoutMs);
    }

    // When the simulator read this command, at or after the index-th one it received.
    std::optional<qint64> readAt(const QByteArray &command, qsizetype from) const
    {
        const auto &received = simulator.received();
        for (qsizetype i = from; i < received.size(); ++i) {
            if (received[i].command == command)
                return received[i].monotonicNs;
        }
        return std::nullopt;
    }
};

struct Latencies {
    std::vector<double> ms;
    std::vector<double> partMs; // of the publication: from the read-back's query
};

// "ON" on the power topic, with the projector on (so the command is sent, acknowledged and
// ignored), to the simulator's read of C00.
std::optional<Latencies> commandToLine(MqttRig &rig, int samples)
{
    Latencies latencies;
    for (int i = 0; i < samples; ++i) {
        const qsizetype before = rig.simulator.received().size();
        const qint64 sentNs = steadyNowNs();
        rig.client->publish({Base + QStringLiteral("power/set"), "ON", false});
        if (!runEventLoopUntil([&] { return rig.readAt("C00", before).has_value(); }, 2000))
            return std::nullopt;
        latencies.ms.push_back(double(*rig.readAt("C00", before) - sentNs) / 1e6);
        runEventLoopFor(20); // the power's read-back passes
    }
    return latencies;
}

// An input chosen through zra70d's line port (another client on the line) to its new state's
// arrival at the bench's client: the command's read at the simulator, zra70d's read-back of
// the input, its publication through the broker.
std::optional<Latencies> changeToPublication(MqttRig &rig, int samples)
{
    QTcpSocket line;
    line.connectToHost(QHostAddress::LocalHost, rig.service.port(QStringLiteral("line")));
    if (!line.waitForConnected(5000))
        return std::nullopt;
    Latencies latencies;
    for (int i = 0; i < samples; ++i) {
        const QByteArray code = i % 2 ? "C05" : "C06";
        const QByteArray input = i % 2 ? "PC1" : "PC2";
        const qsizetype before = rig.simulator.received().size();
        const qsizetype published = rig.arrivals.value(Base + QStringLiteral("input")).size();
        line.write(code + '\r');
        if (!runEventLoopUntil(
                [&] { return rig.arrival(QStringLiteral("input"), input, published).has_value(); },
                2000))
            return std::nullopt;
        const qint64 arrivedNs = *rig.arrival(QStringLiteral("input"), input, published);
        latencies.ms.push_back(double(arrivedNs - rig.readAt(code, before).value_or(0)) / 1e6);
        latencies.partMs.push_back(double(arrivedNs - rig.readAt("CR1", before).value_or(0)) / 1e6);
        runEventLoopFor(20);
        line.readAll();
    }
    return latencies;
}

void emitPercentiles(const QString &figure, const std::vector<double> &ms)
{
    for (const auto &[p, limit] : {std::pair{50.0, P50LimitMs}, std::pair{99.0, P99LimitMs}}) {
        const double value = percentile(ms, p);
        emitRow(atMost(QStringLiteral("%1, p%2").arg(figure).arg(p),
                       QStringLiteral("%1 ms of %2; max %3 ms")
                           .arg(value, 0, 'f', 2)
                           .arg(ms.size())
                           .arg(*std::max_element(ms.begin(), ms.end()), 0, 'f', 2),
                       value, limit, QStringLiteral("≤ %1 ms").arg(limit)));
    }
}

} // namespace

void benchMqtt(const Profile &profile)
{
    emitRow(note(QStringLiteral(
        "MQTT: Debian's mosquitto on 127.0.0.1, zra70d between it and the simulator (a pty "
        "served by the bench's own loop), the bench's client on the broker; command: publish "
        "to the simulator's read of C00 with the projector on; change: a command on zra70d's "
        "line port read by the simulator to its new input's arrival at the client")));
    const QString command = QStringLiteral("MQTT power command to C00 on the line");
    const QString change = QStringLiteral("Line change to its MQTT publication");
    MqttRig rig;
    if (!rig.start()) {
        emitRow(missing(command, QStringLiteral("the broker, simulator or zra70d did not start")));
        return;
    }
    rig.client->publish({Base + QStringLiteral("power/set"), "ON", false});
    if (!rig.waitFor(QStringLiteral("phase"), "on", 15000)) {
        emitRow(missing(command, QStringLiteral("the projector did not come on")));
        return;
    }
    if (const std::optional<Latencies> latencies = commandToLine(rig, profile.mqttSamples))
        emitPercentiles(command, latencies->ms);
    else
        emitRow(missing(command, QStringLiteral("a command did not reach the line")));
    if (const std::optional<Latencies> latencies = changeToPublication(rig, profile.mqttSamples)) {
        emitPercentiles(change, latencies->ms);
        emitRow(info(QStringLiteral("  of which from the read-back query, p50; p99"),
                     QStringLiteral("%1 ms; %2 ms")
                         .arg(percentile(latencies->partMs, 50), 0, 'f', 2)
                         .arg(percentile(latencies->partMs, 99), 0, 'f', 2),
                     QStringLiteral("zra70d reads the input again after a command")));
    } else {
        emitRow(missing(change, QStringLiteral("a change was not published")));
    }
    rig.service.terminate();
}
