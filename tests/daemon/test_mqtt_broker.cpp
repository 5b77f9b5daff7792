#include "mosquitto_broker.h"
#include "projector_simulator.h"
#include "service_process.h"
#include "socket_client.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The broker, the simulator and zra70d for the projector "hall", logged in as zra70 (anyone
// is let in unless the broker refuses every login); stopped in the reverse order.
struct Rig {
    bool start(const MosquittoBroker::Options &options = {}, const QStringList &extra = {})
    {
        if (!broker.start(options))
            return false;
        SimulatorOptions line;
        line.linkPath = dir.filePath("projector");
        simulator = std::make_unique<ProjectorSimulator>(line);
        return simulator->start() &&
               service.start(QStringList{"--port", line.linkPath, "--name", "hall", "--pjlink", "0",
                                         "--mqtt", broker.url("zra70")} +
                             extra);
    }

    QTemporaryDir dir;
    MosquittoBroker broker;
    std::unique_ptr<ProjectorSimulator> simulator;
    ServiceProcess service;
};

} // namespace

// zra70d as a program with Debian's mosquitto broker and its clients mosquitto_sub and
// mosquitto_pub, the simulator behind it on a pseudo-terminal under a link that outlives a
// restart (served from this process's event loop). What each message holds is shown without a
// broker (test_mqtt_mapping); here, when it is sent and that it arrives.
class MqttBrokerTest : public QObject {
    Q_OBJECT
private slots:
    // Over TLS, trusting the broker's certificate authority from its file.
    void homeAssistantFindsTheProjectorAndSwitchesItOn()
    {
        Rig rig;
        QVERIFY(rig.start({false, true}, {"--mqtt-ca", rig.broker.caFile()}));
        MqttWatch watch(rig.broker, QStringLiteral("#"));
        const QString power = QStringLiteral("homeassistant/switch/zra70_hall/power/config");
        QVERIFY(watch.waitFor("zra70/hall/phase", "standby"));
        QVERIFY(!rig.broker.retained(power).isEmpty());
        // Home Assistant started again: told everything again.
        QVERIFY(rig.broker.publish("homeassistant/status", "online"));
        QTRY_COMPARE_WITH_TIMEOUT(watch.payloads(power).size(), 2, 10000);

        QVERIFY(rig.broker.publish("zra70/hall/power/set", "ON"));
        QVERIFY(watch.waitFor("zra70/hall/phase", "warming"));
        QVERIFY(rig.simulator->rawBytesReceived().contains("C00\r"));
        // Switched off before it is on: told, and nothing sent.
        QVERIFY(rig.broker.publish("zra70/hall/power/set", "OFF"));
        QVERIFY(watch.waitFor("zra70/hall/event",
                              R"({"command":"power","payload":"OFF","reason":"warming up"})"));
        QVERIFY(watch.waitFor("zra70/hall/phase", "on"));
        QVERIFY(!rig.simulator->rawBytesReceived().contains("C01\r"));
        // Each change once, however often the phase was read.
        QCOMPARE(watch.payloads("zra70/hall/phase"),
                 (QList<QByteArray>{"standby", "warming", "on"}));
        QCOMPARE(watch.payloads("zra70/hall/power"), (QList<QByteArray>{"OFF", "ON"}));

        // A clean stop leaves the projector offline.
        QCOMPARE(rig.service.terminate(), 0);
        QCOMPARE(rig.broker.retained("zra70/hall/availability"), "offline");
    }

    // The line lost and back, the broker restarted (no retained messages kept), zra70d killed.
    void availabilityFollowsTheProjectorTheBrokerAndTheService()
    {
        Rig rig;
        QVERIFY(rig.start());
        MqttWatch watch(rig.broker, QStringLiteral("zra70/hall/#"));
        QVERIFY(watch.waitFor("zra70/hall/availability", "online"));

        rig.simulator->stop();
        QVERIFY(watch.waitFor("zra70/hall/availability", "offline"));
        QVERIFY(rig.broker.publish("zra70/hall/input/set", "PC2"));
        QVERIFY(watch.waitFor("zra70/hall/event",
                              R"({"command":"input","payload":"PC2","reason":"line lost"})"));
        QVERIFY(rig.simulator->start());
        QTRY_COMPARE_WITH_TIMEOUT(watch.payloads("zra70/hall/availability").last(), "online",
                                  10000);
        QCOMPARE(rig.service.log().count("line lost: "), 1);
        QVERIFY(rig.service.log().contains("line back: "));

        rig.broker.stop();
        QVERIFY(rig.broker.start({}));
        MqttWatch back(rig.broker, QStringLiteral("zra70/hall/phase"));
        QVERIFY(back.waitFor("zra70/hall/phase", "standby", 15000));
        QCOMPARE(rig.broker.retained("zra70/hall/availability"), "online");
        QVERIFY(!rig.broker.retained("homeassistant/switch/zra70_hall/power/config").isEmpty());
        QCOMPARE(rig.service.log().count("mqtt: lost"), 1);

        rig.service.kill();
        QTRY_COMPARE_WITH_TIMEOUT(rig.broker.retained("zra70/hall/availability"), "offline", 10000);
    }

    void aRefusedLoginIsToldOnceAndPjlinkStillAnswers()
    {
        Rig rig;
        const QString password = rig.dir.filePath("mqtt-password");
        QVERIFY(writeOwnFile(password, "wrong\n"));
        QVERIFY(rig.start({true}, {"--mqtt-password-file", password}));

        QTRY_VERIFY_WITH_TIMEOUT(rig.broker.log().count("not authorised") >= 2, 10000);
        QCOMPARE(rig.service.log().count("not authorised"), 1);

        SocketClient pjlink(rig.service.port("pjlink"));
        pjlink.send("%1POWR ?\r");
        QCOMPARE(pjlink.replies(2), QByteArray("PJLINK 0\r%1POWR=0\r"));
    }
};

QTEST_GUILESS_MAIN(MqttBrokerTest)
#include "test_mqtt_broker.moc"
