#include "panel_rig.h"
#include "projector_simulator.h"
#include "repeater.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

// The real panel on real time against the projector simulator, over a pseudo-terminal: what
// only the whole program shows. Built with the sanitizers, the runs must leave no leak behind.
class EndToEndTest : public QObject {
    Q_OBJECT

    struct Rig {
        explicit Rig(SimulatorOptions options = {})
            : simulator(std::move(options))
            , started(simulator.start())
            , panel(simulator.devicePath(), PanelRig::Writes::Counted)
        {
        }
        ProjectorSimulator simulator;
        bool started;
        PanelRig panel;
    };

private slots:
    void aStatusReplyIsDecodedThenEveryLineBlanks()
    {
        Rig rig;
        QVERIFY2(rig.started && rig.panel.isReady(), qPrintable(rig.panel.problem()));
        rig.panel.click("Command47"); // SETTING
        QTRY_COMPARE_WITH_TIMEOUT(rig.panel.line("Label12"), QStringLiteral(" 1 1 CR "), 2000);
        QCOMPARE(rig.panel.line("Label22"), QStringLiteral(" Normally"));
        QTRY_COMPARE_WITH_TIMEOUT(rig.panel.line("Label22"), QString(), 3000);
        QCOMPARE(rig.panel.line("Label11"), QString());
    }

    // The 5 ms arrow after D.Zoom, for a few seconds (bench/run holds it for a minute).
    void aFastHoldLosesNothing()
    {
        Rig rig;
        rig.panel.press("Command48"); // D.Zoom +
        rig.panel.release("Command48");
        rig.panel.press("Command8"); // right
        QTest::qWait(3000);
        rig.panel.release("Command8");
        const qint64 written = rig.panel.writeCounter()->writes();
        QVERIFY2(written > 100, qPrintable(QString::number(written)));
        QTRY_COMPARE_WITH_TIMEOUT(rig.simulator.received().size(), written, 5000);
        QCOMPARE(rig.simulator.rawBytesReceived(),
                 "C30\r" + QByteArray("C3A\r").repeated(written - 1));
        QCOMPARE(rig.panel.warnings(), QStringList());
    }

    void aDeviceGoingAwayMidHoldIsToldOnceAndReconnects()
    {
        QTemporaryDir dir;
        SimulatorOptions linked;
        linked.linkPath = dir.filePath("com1");
        Rig rig(linked);
        rig.panel.press("Command1"); // VOL +, every 250 ms
        QTRY_VERIFY_WITH_TIMEOUT(rig.simulator.received().size() >= 2, 2000);
        rig.simulator.stop();
        QTRY_COMPARE_WITH_TIMEOUT(rig.panel.warnings().size(), 1, 3000);
        QVERIFY(rig.panel.warnings()[0].contains(linked.linkPath));
        QVERIFY(!rig.panel.controller().repeater().isHolding());
        const qint64 writesAtLoss = rig.panel.writeCounter()->writes();
        rig.panel.click("Command17"); // nothing written, no second box
        QCOMPARE(rig.panel.writeCounter()->writes(), writesAtLoss);
        rig.panel.release("Command1");

        QVERIFY(rig.simulator.start());
        QTRY_VERIFY_WITH_TIMEOUT(rig.panel.port().isOpen(), 5000);
        const qsizetype before = rig.simulator.received().size();
        rig.panel.click("Command44");
        QTRY_COMPARE_WITH_TIMEOUT(rig.simulator.received().size(), before + 1, 2000);
        QCOMPARE(rig.simulator.received().last().command, QByteArray("CR0"));
        QCOMPARE(rig.panel.warnings().size(), 1);
    }

    // A whole run as the program makes it: some sends, then END leaves the event loop.
    void endClosesThePortAndLeavesTheEventLoop()
    {
        Rig rig;
        rig.panel.quitAtEnd = true;
        QTimer::singleShot(0, [&] {
            rig.panel.click("Command17");
            rig.panel.press("Command50");
        });
        QTimer::singleShot(600, [&] {
            rig.panel.release("Command50");
            rig.panel.click("Command16"); // END
        });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!rig.panel.port().isOpen());
        QCOMPARE(rig.panel.programEnds(), 1);
        QCOMPARE(rig.simulator.received().first().command, QByteArray("C00"));
        const qsizetype sent = rig.simulator.received().size();
        QTest::qWait(300);
        QCOMPARE(rig.simulator.received().size(), sent);
    }
};

QTEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
