#include "mosquitto_broker.h"
#include "program_run.h"
#include "projector_simulator.h"
#include "service_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

QJsonObject json(const QByteArray &text)
{
    return QJsonDocument::fromJson(text).object();
}

bool writeSecret(const QString &path, const QByteArray &text, QFile::Permissions permissions)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() &&
           file.setPermissions(permissions);
}

constexpr auto OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

} // namespace

// zra70d as a program with Debian's mosquitto broker and its clients mosquitto_sub and
// mosquitto_pub, the simulator behind it on a pseudo-terminal under a link that outlives a
// restart (served from this process's event loop).
class MqttBrokerTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<MosquittoBroker> m_broker;
    std::unique_ptr<ProjectorSimulator> m_simulator;
    std::unique_ptr<ServiceProcess> m_service;

    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

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
        simulator.linkPath = path("projector");
        m_simulator = std::make_unique<ProjectorSimulator>(simulator);
        return m_simulator->start() &&
               m_service->start(QStringList{"--port", simulator.linkPath, "--name", "hall",
                                            "--pjlink", "0", "--mqtt",
                                            m_broker->url(options.user)} +
                                extra);
    }

    QList<QByteArray> commandsOnTheLine() const
    {
        QList<QByteArray> commands;
        for (const ProjectorSimulator::Received &received : m_simulator->received())
            commands.append(received.command);
        return commands;
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

    void discoveryIsRetainedWithWhatHomeAssistantNeeds()
    {
        QVERIFY(startAll());
        MqttWatch watch(*m_broker, QStringLiteral("homeassistant/#"));
        const auto uniqueIds = [&] {
            QSet<QString> ids;
            for (const QString &topic : watch.topics())
                ids.insert(json(watch.last(topic))["unique_id"].toString());
            return ids;
        };
        const QSet<QString> entities{"power",         "phase",         "input",    "picture_mute",
                                     "sound_mute",    "lamp_hours",    "lamp_lit", "temperature_1",
                                     "temperature_2", "temperature_3", "model"};
        QSet<QString> expected;
        for (const QString &entity : entities)
            expected.insert("zra70_hall_" + entity);
        QTRY_COMPARE_WITH_TIMEOUT(uniqueIds(), expected, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(m_broker->retained("zra70/hall/availability"), "online", 10000);

        const QSet<QString> controllable{"zra70_hall_power", "zra70_hall_input",
                                         "zra70_hall_picture_mute", "zra70_hall_sound_mute"};
        for (const QString &topic : watch.topics()) {
            const QJsonObject config = json(m_broker->retained(topic));
            const QString id = config["unique_id"].toString();
            QCOMPARE(config["device"]["identifiers"].toArray(), QJsonArray{"zra70_hall"});
            QCOMPARE(config["availability_topic"].toString(), "zra70/hall/availability");
            QVERIFY2(!m_broker->retained(config["state_topic"].toString()).isEmpty(),
                     qPrintable(id));
            QCOMPARE(config.contains("command_topic"), controllable.contains(id));
        }

        // Home Assistant started again: told everything again.
        const QString power = QStringLiteral("homeassistant/switch/zra70_hall/power/config");
        QVERIFY(m_broker->publish("homeassistant/status", "online"));
        QTRY_COMPARE_WITH_TIMEOUT(watch.payloads(power).size(), 2, 10000);

        // A clean stop leaves the projector offline.
        QCOMPARE(m_service->terminate(), 0);
        QCOMPARE(m_broker->retained("zra70/hall/availability"), "offline");
    }

    void powerOnGoesOnTheLineAndThePhaseFollows()
    {
        QVERIFY(startAll());
        MqttWatch watch(*m_broker, QStringLiteral("zra70/hall/#"));
        QVERIFY(watch.waitFor("zra70/hall/phase", "standby"));

        QVERIFY(m_broker->publish("zra70/hall/power/set", "ON"));
        QVERIFY(watch.waitFor("zra70/hall/phase", "warming"));
        QVERIFY(commandsOnTheLine().contains("C00"));
        // Switched off before it is on: told, and nothing sent.
        QVERIFY(m_broker->publish("zra70/hall/power/set", "OFF"));
        QVERIFY(watch.waitFor("zra70/hall/event",
                              R"({"command":"power","payload":"OFF","reason":"warming up"})"));
        QVERIFY(watch.waitFor("zra70/hall/phase", "on"));

        QVERIFY(!commandsOnTheLine().contains("C01"));
        // Each change once, however often the phase was read.
        QCOMPARE(watch.payloads("zra70/hall/phase"),
                 (QList<QByteArray>{"standby", "warming", "on"}));
        QCOMPARE(watch.payloads("zra70/hall/power"), (QList<QByteArray>{"OFF", "ON"}));
    }

    void availabilityFollowsTheProjectorAndTheService()
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
        QTRY_COMPARE_WITH_TIMEOUT(watch.last("zra70/hall/availability"), "online", 10000);

        m_service->kill();
        QTRY_COMPARE_WITH_TIMEOUT(m_broker->retained("zra70/hall/availability"), "offline", 10000);
    }

    void aRestartedBrokerGetsStateAndDiscoveryBack()
    {
        QVERIFY(startAll());
        QTRY_COMPARE_WITH_TIMEOUT(m_broker->retained("zra70/hall/phase"), "standby", 10000);

        m_broker->stop();
        QString error;
        QVERIFY2(m_broker->start({}, &error), qPrintable(error));

        QTRY_COMPARE_WITH_TIMEOUT(m_broker->retained("zra70/hall/phase"), "standby", 15000);
        QCOMPARE(m_broker->retained("zra70/hall/availability"), "online");
        QVERIFY(!m_broker->retained("homeassistant/switch/zra70_hall/power/config").isEmpty());
        QCOMPARE(m_service->log().count("mqtt: lost"), 1);
    }

    void aWrongPasswordIsToldOnceAndPjlinkStillAnswers()
    {
        QVERIFY(writeSecret(path("mqtt-password"), "wrong\n", OwnerOnly));
        QVERIFY(startAll({"zra70", "right"}, {"--mqtt-password-file", path("mqtt-password")}));

        QTRY_VERIFY_WITH_TIMEOUT(m_broker->log().count("not authorised") >= 2, 10000);
        QCOMPARE(m_service->log().count("not authorised"), 1);

        QTcpSocket pjlink;
        pjlink.connectToHost(QHostAddress::LocalHost, m_service->port("pjlink"));
        QVERIFY(pjlink.waitForConnected(5000));
        pjlink.write("%1POWR ?\r");
        QByteArray replies;
        QTRY_COMPARE_WITH_TIMEOUT((replies += pjlink.readAll()), "PJLINK 0\r%1POWR=0\r", 5000);
    }

    void tlsWithTheCertificateAuthorityFile()
    {
        QVERIFY(startAll({{}, {}, true}, {"--mqtt-ca", m_broker->caFile()}));
        QTRY_COMPARE_WITH_TIMEOUT(m_broker->retained("zra70/hall/availability"), "online", 10000);
    }

    void unusableMqttSettingsEndTheServiceAtOnce_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("problem");
        QTest::newRow("address") << QStringList{"--mqtt", "mqtt://broker/zra70"}
                                 << "mqtt must be mqtt://[USER@]HOST[:PORT]";
        QTest::newRow("password others can read")
            << QStringList{"--mqtt", "mqtt://zra70@broker", "--mqtt-password-file", path("open")}
            << "can be read by anyone";
        QTest::newRow("password without a user")
            << QStringList{"--mqtt", "mqtt://broker", "--mqtt-password-file", path("secret")}
            << "mqtt-password-file needs a user";
        QTest::newRow("certificate authority missing")
            << QStringList{"--mqtt", "mqtts://broker", "--mqtt-ca", path("none.pem")}
            << "cannot read the certificate authority file";
    }

    void unusableMqttSettingsEndTheServiceAtOnce()
    {
        QFETCH(QStringList, arguments);
        QVERIFY(writeSecret(path("open"), "right\n", OwnerOnly | QFile::ReadOther));
        QVERIFY(writeSecret(path("secret"), "right\n", OwnerOnly));
        const ProgramRun run = runProgram(
            ZRA70D_PROGRAM, QStringList{"--port", path("nothing"), "--pjlink", "off"} + arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QFETCH(QString, problem);
        QVERIFY2(run.err.contains(problem.toUtf8()), run.err.constData());
    }
};

QTEST_GUILESS_MAIN(MqttBrokerTest)
#include "test_mqtt_broker.moc"
