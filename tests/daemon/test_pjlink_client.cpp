#include "program_run.h"
#include "projector_simulator.h"
#include "service_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// zra70d run as a program in front of the simulator, driven by a PJLink controller that nobody
// here wrote: the pjlink package of the npm registry, installed into the build tree by CTest.
// The simulator serves from this process's event loop while the two programs run.
class PjlinkClientTest : public QObject {
    Q_OBJECT

    const QByteArray password = "JBMIAProjectorLink";
    QTemporaryDir dir;
    std::unique_ptr<ProjectorSimulator> simulator;
    std::unique_ptr<ServiceProcess> service;

    // zra70d on the simulator, with the password file when one is given.
    bool startService(const QByteArray &withPassword)
    {
        QStringList arguments{
            "--port", simulator->devicePath(), "--pjlink", "127.0.0.1:0", "--name", "hall"};
        if (!withPassword.isEmpty()) {
            QFile file(dir.filePath("password"));
            if (!file.open(QIODevice::WriteOnly) || file.write(withPassword + '\n') < 0)
                return false;
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            arguments << "--password-file" << file.fileName();
        }
        return service->start(arguments);
    }

    // The client's steps as it printed them, one JSON array.
    QJsonArray drive(const QString &plan, const QString &withPassword)
    {
        QProcess node;
        QSignalSpy finished(&node, &QProcess::finished);
        node.start(NODE_PROGRAM, {PJLINK_CLIENT_SCRIPT, QString::number(service->port("pjlink")),
                                  withPassword, plan});
        if (!finished.wait(60000))
            node.kill();
        QJsonArray steps;
        for (const QByteArray &line : node.readAllStandardOutput().split('\n')) {
            if (!line.isEmpty())
                steps.append(QJsonDocument::fromJson(line).object());
        }
        if (node.exitCode() != 0)
            qWarning() << node.readAllStandardError();
        return steps;
    }

    static QJsonArray expected(const char *json) { return QJsonDocument::fromJson(json).array(); }

    QByteArrayList commandsOnTheLine() const
    {
        QByteArrayList commands;
        for (const ProjectorSimulator::Received &received : simulator->received())
            commands.append(received.command);
        return commands;
    }

private slots:
    void init()
    {
        simulator = std::make_unique<ProjectorSimulator>();
        service = std::make_unique<ServiceProcess>();
        QVERIFY(dir.isValid() && simulator->start());
    }

    void aWholeSessionWithThePassword()
    {
        QVERIFY(startService(password));
        const QJsonArray steps = drive("whole", password);
        const QJsonArray wanted = expected(R"([
            {"step": "getPowerState", "value": 0},
            {"step": "powerOn"},
            {"step": "powerUntil", "args": [1], "value": [3, 1]},
            {"step": "setInput", "args": ["21"]},
            {"step": "getInput",
             "value": {"source": 2, "channel": 1, "code": "21", "name": "VIDEO - 1"}},
            {"step": "setInput", "args": ["12"]},
            {"step": "getInput",
             "value": {"source": 1, "channel": 2, "code": "12", "name": "RGB - 2"}},
            {"step": "setMute", "args": [{"video": true, "audio": true}]},
            {"step": "getMute", "value": {"video": true, "audio": true}},
            {"step": "setMute", "args": [{"video": false, "audio": false}]},
            {"step": "getMute", "value": {"video": false, "audio": false}},
            {"step": "setMute", "args": [{"video": true, "audio": false}]},
            {"step": "getMute", "value": {"video": true, "audio": false}},
            {"step": "getLamps", "value": [{"hours": 1234, "on": true}]},
            {"step": "getInputs", "value": [
                {"source": 1, "channel": 1, "code": "11", "name": "RGB - 1"},
                {"source": 1, "channel": 2, "code": "12", "name": "RGB - 2"},
                {"source": 2, "channel": 1, "code": "21", "name": "VIDEO - 1"}]},
            {"step": "getErrors", "value": null},
            {"step": "getName", "value": "hall"},
            {"step": "getManufacturer", "value": "TAVO"},
            {"step": "getModel", "value": "ZRA70_20"},
            {"step": "getInfo", "value": "1.40"},
            {"step": "getClass", "value": "1"},
            {"step": "powerOff"},
            {"step": "powerUntil", "args": [0], "value": [2, 0]}
        ])");
        for (qsizetype i = 0; i < std::max(steps.size(), wanted.size()); ++i)
            QCOMPARE(steps.at(i).toObject(), wanted.at(i).toObject());

        QCOMPARE(service->terminate(), 0);
        const QByteArray log = service->log();
        QVERIFY2(log.contains("pjlink: 127.0.0.1:") && log.contains(" connected\n") &&
                     log.contains(" disconnected\n"),
                 log);
        QVERIFY(!log.contains(password) && !log.contains("failed"));
    }

    void noPasswordWhenNoneIsSet()
    {
        QVERIFY(startService({}));
        QCOMPARE(drive("brief", "-"), expected(R"([
            {"step": "getPowerState", "value": 0},
            {"step": "getClass", "value": "1"},
            {"step": "setInput", "args": ["21"]},
            {"step": "getInput",
             "value": {"source": 2, "channel": 1, "code": "21", "name": "VIDEO - 1"}}
        ])"));
    }

    void aPasswordFileOthersCanReadIsRefused()
    {
        QFile file(dir.filePath("readable"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(password) > 0);
        file.setPermissions(file.permissions() | QFileDevice::ReadOther);
        file.close();
        const ProgramRun run = runProgram(ZRA70D_PROGRAM, {"--port", simulator->devicePath(),
                                                           "--password-file", file.fileName()});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("can be read by anyone") && !run.err.contains(password), run.err);
    }

    void aWrongPasswordReachesNothing()
    {
        QVERIFY(startService(password));
        const QJsonArray steps = drive("brief", "not the password");
        QCOMPARE(steps.size(), 4);
        QCOMPARE(steps[0]["error"].toString(), "Authorization failed");
        for (const QJsonValue &step : steps)
            QVERIFY2(step["error"].isString(), qPrintable(step["step"].toString()));
        QVERIFY(!commandsOnTheLine().contains("C07"));
        QCOMPARE(service->terminate(), 0);
        QVERIFY2(service->log().contains(" failed to log in\n"), service->log());
    }
};

QTEST_GUILESS_MAIN(PjlinkClientTest)
#include "test_pjlink_client.moc"
