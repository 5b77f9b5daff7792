#include "program_run.h"
#include "projector_simulator.h"
#include "serial_server.h"
#include "service_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// zra70d run as a program with its line across ser2net (RFC 2217) to the simulator, driven by
// a PJLink controller that nobody here wrote, the pjlink package of the npm registry (installed
// into the build tree by CTest), while a script uses the line through its line port. The
// simulator serves from this process's event loop while the programs run.
class PjlinkClientTest : public QObject {
    Q_OBJECT

    const QByteArray password = "JBMIAProjectorLink";
    QTemporaryDir dir;
    ProjectorSimulator simulator;
    SerialServer ser2net;
    ServiceProcess service;

    // The steps the client took, as it printed them: those expected, with what came of them.
    static QJsonArray drive(const ServiceProcess &server, const char *expected,
                            const QString &withPassword)
    {
        const ProgramRun run =
            runProgram(NODE_PROGRAM, {PJLINK_CLIENT_SCRIPT, QString::number(server.port("pjlink")),
                                      withPassword, expected});
        QJsonArray steps;
        for (const QByteArray &line : run.lines())
            steps.append(QJsonDocument::fromJson(line).object());
        if (run.exitCode != 0)
            qWarning() << run.err;
        return steps;
    }

private slots:
    // A wrong password reaches nothing; then the right one. A query right after a set reads
    // what the set changed. The script reads all nine status queries meanwhile. Then, without
    // a password file, no digest is asked for.
    void sessionsWithAWrongPasswordTheRightOneAndNone()
    {
        const QString file = dir.filePath("password");
        QVERIFY(simulator.start() && writeOwnFile(file, password + '\n'));
        const QString problem =
            ser2net.start(simulator.devicePath(), SerialServer::Kind::Ser2netRfc2217);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QVERIFY(service.start({"--port", ser2net.url(), "--pjlink", "127.0.0.1:0", "--line",
                               "127.0.0.1:0", "--name", "hall", "--password-file", file}));

        const char *refused = R"([
            {"step": "setInput", "args": ["21"], "error": "Authorization failed"}
        ])";
        QCOMPARE(drive(service, refused, "not the password"),
                 QJsonDocument::fromJson(refused).array());
        QProcess script;
        script.start(ZRA70CTL_PROGRAM, {"--port", "tcp://" + service.address("line"), "status"});
        const char *session = R"([
            {"step": "getPowerState", "value": 0},
            {"step": "powerOn"},
            {"step": "powerUntil", "args": [1], "value": [3, 1]},
            {"step": "setInput", "args": ["12"]},
            {"step": "getInput",
             "value": {"source": 1, "channel": 2, "code": "12", "name": "RGB - 2"}},
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
            {"step": "powerOff"},
            {"step": "powerUntil", "args": [0], "value": [2, 0]}
        ])";
        QCOMPARE(drive(service, session, password), QJsonDocument::fromJson(session).array());
        QTRY_COMPARE_WITH_TIMEOUT(script.state(), QProcess::NotRunning, 20000);
        QCOMPARE(script.exitCode(), 0);
        const QByteArray out = script.readAllStandardOutput();
        QVERIFY2(out.count('\n') == 9 && out.endsWith("pressure: 1013 hPa\n"), out);
        // Whole commands only, never two interleaved: each is one the projector knows.
        for (const ProjectorSimulator::Received &command : simulator.received())
            QVERIFY2(command.command.startsWith('C') && command.command != "C07",
                     command.command.constData());

        QCOMPARE(service.terminate(), 0);
        const QByteArray log = service.log();
        QVERIFY2(log.contains("line open: ") && log.count("line port: 127.0.0.1:") == 2 &&
                     log.contains("pjlink: 127.0.0.1:") && log.contains(" connected\n") &&
                     log.contains(" disconnected\n") && log.count(" failed to log in\n") == 1,
                 log);
        QVERIFY(!log.contains(password));

        ServiceProcess open;
        QVERIFY(open.start({"--port", ser2net.url(), "--pjlink", "127.0.0.1:0"}));
        const char *brief = R"([
            {"step": "getClass", "value": "1"},
            {"step": "setInput", "args": ["21"]},
            {"step": "getInput",
             "value": {"source": 2, "channel": 1, "code": "21", "name": "VIDEO - 1"}}
        ])";
        QCOMPARE(drive(open, brief, "-"), QJsonDocument::fromJson(brief).array());
        QCOMPARE(open.terminate(), 0);
    }
};

QTEST_GUILESS_MAIN(PjlinkClientTest)
#include "test_pjlink_client.moc"
