#include "program_run.h"
#include "projector_simulator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

// The zra70ctl program as a script runs it, against the simulator on a pseudo-terminal. The
// simulator serves from this process's event loop while the program runs.
class Zra70ctlTest : public QObject {
    Q_OBJECT

    using Run = ProgramRun;
    static Run run(const QStringList &arguments) { return runProgram(ZRA70CTL_PROGRAM, arguments); }

private slots:
    // Replies in pieces, as a slow line delivers them: each command waits for its whole reply.
    void jsonGivesOneObjectPerCommand()
    {
        ProjectorSimulator simulator({.pieces = 3});
        QVERIFY(simulator.start());

        const Run json =
            run({"--port", simulator.devicePath(), "--json", "send", "status", "power-on"});

        QCOMPARE(json.exitCode, 0);
        QCOMPARE(json.lines().size(), 2);
        QJsonObject query = QJsonDocument::fromJson(json.lines()[0]).object();
        QVERIFY(query.take("ms").toDouble() > 0);
        const QJsonObject expected = QJsonDocument::fromJson(R"({"name": "status",
            "sent": [67, 82, 48, 13], "sent_line": " C R 0 CR ", "received": [56, 48, 13],
            "received_line": " 8 0 CR ", "status": " Stand by", "outcome": "answer",
            "value": {"power": "standby", "power_failure": false, "temperature_warning": false,
                      "lamp_failure": false}})")
                                         .object();
        QCOMPARE(query, expected);
        const QJsonObject command = QJsonDocument::fromJson(json.lines()[1]).object();
        QCOMPARE(command["received"].toArray(), QJsonArray({6}));
        QVERIFY(command["status"].isNull());
        QVERIFY(command["value"].isNull());
        QCOMPARE(command["outcome"].toString(), "ack");
    }

    // What a run puts on the line, prints and ends with: each exit status, --verbose's traffic.
    void aRunSaysHowItWent_data()
    {
        QTest::addColumn<bool>("answering");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("line"); // what reached the projector
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const auto row = [](const char *tag, bool answering, const QStringList &arguments,
                            const char *line, int exitCode, const char *out, const char *err) {
            QTest::newRow(tag) << answering << arguments << QByteArray(line) << exitCode
                               << QByteArray(out) << QByteArray(err);
        };
        row("commands in order", true,
            {"send", "power-on", "input-pc1", "fan-mode-l1", "cursor-up"},
            "C00\rC05\rCF FANMODE L1\rC3C\r", 0,
            "power-on: ACK\ninput-pc1: ACK\nfan-mode-l1: ACK\ncursor-up: ACK\n", "");
        row("verbose", true, {"--verbose", "send", "vol-up"}, "C09\r", 0, "vol-up: ACK\n",
            "TXD C 0 9 CR \nRXD ACK \n");
        row("no reply", false, {"--timeout", "100", "send", "power-on"}, "C00\r", 1,
            "power-on: no reply\n", "");
        row("unknown name", true, {"send", "power-on", "pwer-off"}, "", 2, "",
            "zra70ctl: unknown name \"pwer-off\"; did you mean power-off? "
            "('zra70ctl list' shows them all)\nTry 'zra70ctl --help'.\n");
        row("refused", true, {"raw", "C", "99"}, "C 99\r", 3, "raw: NAK (refused)\n", "");
        row("no such device", true, {"--port", "/nonexistent-zra70/ttyUSB7", "status"}, "", 4, "",
            "zra70ctl: Serial port 1 cannot be opened: the device /nonexistent-zra70/ttyUSB7 was "
            "not found. Check that the serial adapter is connected, or set --port to the device "
            "to use.\n");
    }

    void aRunSaysHowItWent()
    {
        QFETCH(bool, answering);
        QFETCH(QStringList, arguments);
        ProjectorSimulator simulator({.noReply = !answering});
        QVERIFY(simulator.start());

        const Run ran = run(QStringList{"--port", simulator.devicePath()} + arguments);

        QTEST(simulator.rawBytesReceived(), "line");
        QTEST(ran.exitCode, "exitCode");
        QTEST(ran.out, "out");
        QTEST(ran.err, "err");
    }

    // A run while another holds the port names the holder: QSerialPort's lock file, which the
    // panel takes too, says who.
    void theHolderOfThePortIsNamed()
    {
        ProjectorSimulator simulator({.noReply = true});
        QVERIFY(simulator.start());
        const QString device = simulator.devicePath();
        QProcess holding;
        holding.start(ZRA70CTL_PROGRAM,
                      {"--port", device, "--timeout", "20000", "send", "power-on"});
        QTRY_VERIFY_WITH_TIMEOUT(!simulator.received().isEmpty(), 10000); // it has the port

        const Run refused = run({"--port", device, "status"});

        QCOMPARE(refused.exitCode, 4);
        QCOMPARE(
            refused.err,
            QStringLiteral("zra70ctl: Serial port 1 cannot be opened: %1 is in use by zra70ctl "
                           "(process %2). Close that program and try again.\n")
                .arg(device)
                .arg(holding.processId())
                .toLocal8Bit());
    }
};

QTEST_GUILESS_MAIN(Zra70ctlTest)
#include "test_zra70ctl.moc"
