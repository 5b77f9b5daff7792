#include "panel_rig.h"
#include "projector_simulator.h"
#include "service_process.h"

#include <QProcess>
#include <QTest>

// The real panel on real time against the projector simulator, over a pseudo-terminal: what
// only the whole program shows. Built with the sanitizers, the runs must leave no leak behind.
class EndToEndTest : public QObject {
    Q_OBJECT

    // The 5 ms arrow after D.Zoom, held for holdMs: how many commands the panel wrote.
    static qint64 holdFastArrow(PanelRig &panel, int holdMs)
    {
        panel.press("Command48"); // D.Zoom +
        panel.release("Command48");
        panel.press("Command8"); // right
        QTest::qWait(holdMs);
        panel.release("Command8");
        return panel.writeCounter()->writes();
    }

private slots:
    // For a few seconds (bench/run holds it for a minute).
    void aFastHoldLosesNothing()
    {
        ProjectorSimulator simulator;
        QVERIFY(simulator.start());
        PanelRig panel(simulator.devicePath(), PanelRig::Writes::Counted);
        QVERIFY2(panel.isReady(), qPrintable(panel.problem()));
        const qint64 written = holdFastArrow(panel, 3000);
        QVERIFY2(written > 100, qPrintable(QString::number(written)));
        QTRY_COMPARE_WITH_TIMEOUT(simulator.received().size(), written, 5000);
        QCOMPARE(simulator.rawBytesReceived(), "C30\r" + QByteArray("C3A\r").repeated(written - 1));
        QCOMPARE(panel.warnings(), QStringList());
    }

    // The same hold through zra70d's line port, while scripts use the line through it too:
    // every one of the panel's commands reaches the projector whole and in order.
    void aFastHoldThroughTheServiceSharesTheLineWithScripts()
    {
        ProjectorSimulator simulator;
        QVERIFY(simulator.start());
        ServiceProcess service;
        QVERIFY(
            service.start({"--port", simulator.devicePath(), "--line", "0", "--pjlink", "off"}));
        const QString linePort = QStringLiteral("tcp://") + service.address("line");
        PanelRig panel(linePort, PanelRig::Writes::Counted);
        QTRY_VERIFY2(panel.isReady(), qPrintable(panel.problem()));

        QProcess script;
        script.start(ZRA70CTL_PROGRAM, {"--port", linePort, "status"});
        const qint64 written = holdFastArrow(panel, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(script.state(), QProcess::NotRunning, 20000);
        QCOMPARE(script.exitCode(), 0);
        QCOMPARE(script.readAllStandardOutput().count('\n'), 9);

        QVERIFY2(written > 100, qPrintable(QString::number(written)));
        QByteArrayList held;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                held.clear();
                for (const ProjectorSimulator::Received &command : simulator.received())
                    if (command.command == "C30" || command.command == "C3A")
                        held.append(command.command);
                return held.size() == written;
            }(),
            5000);
        QCOMPARE(held, QByteArrayList{"C30"} + QByteArrayList(written - 1, "C3A"));
        QCOMPARE(panel.warnings(), QStringList());
    }
};

QTEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
