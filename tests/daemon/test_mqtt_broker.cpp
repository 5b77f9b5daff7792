#include "mosquitto_broker.h"
#include "projector_simulator.h"
#include "service_process.h"
#include "socket_client.h"

#include <QTemporaryDir>
#include <QTest>

// zra70d as a program with Debian's mosquitto broker and its clients mosquitto_sub and
// mosquitto_pub, the simulator behind it on a pseudo-terminal under a link that outlives a
// restart (served from this process's event loop). What each message holds is shown without a
// broker (test_mqtt_mapping); here, when it is sent and that it arrives.
class MqttBrokerTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MosquittoBroker> m_broker;
    std::unique_ptr<ProjectorSimulator> m_simulator;
    std::unique_ptr<ServiceProcess> m_service;

    // The broker, the simulator and zra70d for the projector "hall", logged in as the
    // broker's user if it has one.
    bool startAll(const MosquittoBroker::Options &options = {}, const QStringList &extra = {})
    {
        QString error;
        if (!m_broker->start(options, &error)) {
            qWarning() << error;
            return false;
        }
        SimulatorOptions simulator;
        simulator.linkPath = m_dir.filePath("projector");
        m_simulator = std::make_unique<ProjectorSimulator>(simulator);
        return m_simulator->start() &&
               m_service->start(QStringList{"--port", simulator.linkPath, "--name", "hall",
                                            "--pjlink", "0", "--mqtt",
                                            m_broker->url(options.user)} +
                                extra);
    }

private slots:
    void init()
    {
        m_broker = std::make_unique<MosquittoBroker>();
        m_service = std::make_unique<ServiceProcess>();
    }

    void cleanup()
    {
        m_service.reset();
        m_simulator.reset();
        m_broker.reset();
    }

    void homeAssistantFindsTheProjectorAndSwitchesItOn()
    {
        QVERIFY(startAll());
        MqttWatch watch(*m_broker, QStringLiteral("#"));
        const QString power = QStringLiteral("homeassistant/switch/zra70_hall/power/config");
        QVERIFY(watch.waitFor("zra70/hall/phase", "standby"));
        QVERIFY(!m_broker->retained(power).isEmpty());
        // Home Assistant started again: told everything again.
        QVERIFY(m_broker->publish("homeassistant/status", "online"));
        QTRY_COMPARE_WITH_TIMEOUT(watch.payloads(power).size(), 2, 10000);

        QVERIFY(m_broker->publish("zra70/hall/power/set", "ON"));
        QVERIFY(watch.waitFor("zra70/hall/phase", "warming"));
        QVERIFY(m_simulator->rawBytesReceived().contains("C00\r"));
        // Switched off before it is on: told, and nothing sent.
        QVERIFY(m_broker->publish("zra70/hall/power/set", "OFF"));
        QVERIFY(watch.waitFor("zra70/hall/event",
                              R"({"command":"power","payload":"OFF","reason":"warming up"})"));
        QVERIFY(watch.waitFor("zra70/hall/phase", "on"));
        QVERIFY(!m_simulator->rawBytesReceived().contains("C01\r"));
        // Each change once, however often the phase was read.
        QCOMPARE(watch.payloads("zra70/hall/phase"),
                 (QList<QByteArray>{"standby", "warming", "on"}));
        QCOMPARE(watch.payloads("zra70/hall/power"), (QList<QByteArray>{"OFF", "ON"}));

        // A clean stop leaves the projector offline.
        QCOMPARE(m_service->terminate(), 0);
        QCOMPARE(m_broker->retained("zra70/hall/availability"), "offline");
    }

    // The line lost and back, the broker restarted (no retained messages kept), zra70d killed.
    void availabilityFollowsTheProjectorTheBrokerAndTheService()
    {
        QVERIFY(startAll());
        MqttWatch watch(*m_broker, QStringLiteral("zra70/hall/#"));
        QVERIFY(watch.waitFor("zra70/hall/availability", "online"));

        m_simulator->stop();
        QVERIFY(watch.waitFor("zra70/hall/availability", "offline"));
        QVERIFY(m_broker->publish("zra70/hall/input/set", "PC2"));
        QVERIFY(watch.waitFor("zra70/hall/event",
                              R"({"command":"input","payload":"PC2","reason":"line lost"})"));
        QVERIFY(m_simulator->start());
        QTRY_COMPARE_WITH_TIMEOUT(watch.payloads("zra70/hall/availability").last(), "online",
                                  10000);
        QCOMPARE(m_service->log().count("line lost: "), 1);
        QVERIFY(m_service->log().contains("line back: "));

        m_broker->stop();
        QString error;
        QVERIFY2(m_broker->start({}, &error), qPrintable(error));
        QTRY_COMPARE_WITH_TIMEOUT(m_broker->retained("zra70/hall/phase"), "standby", 15000);
        QCOMPARE(m_broker->retained("zra70/hall/availability"), "online");
        QVERIFY(!m_broker->retained("homeassistant/switch/zra70_hall/power/config").isEmpty());
        QCOMPARE(m_service->log().count("mqtt: lost"), 1);

        m_service->kill();
        QTRY_COMPARE_WITH_TIMEOUT(m_broker->retained("zra70/hall/availability"), "offline", 10000);
    }

    void aWrongPasswordIsToldOnceAndPjlinkStillAnswers()
    {
        QVERIFY(writeOwnFile(m_dir.filePath("mqtt-password"), "wrong\n"));
        QVERIFY(startAll({"zra70", "right"},
                         {"--mqtt-password-file", m_dir.filePath("mqtt-password")}));

        QTRY_VERIFY_WITH_TIMEOUT(m_broker->log().count("not authorised") >= 2, 10000);
        QCOMPARE(m_service->log().count("not authorised"), 1);

        SocketClient pjlink(m_service->port("pjlink"));
        pjlink.send("%1POWR ?\r");
        QCOMPARE(pjlink.replies(2), QByteArray("PJLINK 0\r%1POWR=0\r"));
    }

    void tlsWithTheCertificateAuthorityFile()
    {
        QVERIFY(startAll({{}, {}, true}, {"--mqtt-ca", m_broker->caFile()}));
        QTRY_COMPARE_WITH_TIMEOUT(m_broker->retained("zra70/hall/availability"), "online", 10000);
    }
};

QTEST_GUILESS_MAIN(MqttBrokerTest)
#include "test_mqtt_broker.moc"
