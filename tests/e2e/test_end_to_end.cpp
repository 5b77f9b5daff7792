#include "panel_rig.h"
#include "projector_simulator.h"

#include <QTest>

// The real panel on real time against the projector simulator, over a pseudo-terminal: what
// only the whole program shows. Built with the sanitizers, the runs must leave no leak behind.
class EndToEndTest : public QObject {
    Q_OBJECT

    struct Rig {
        Rig()
            : started(simulator.start())
            , panel(simulator.devicePath(), PanelRig::Writes::Counted)
        {
        }
        ProjectorSimulator simulator;
        bool started;
        PanelRig panel;
    };

private slots:
    // The 5 ms arrow after D.Zoom, for a few seconds (bench/run holds it for a minute).
    void aFastHoldLosesNothing()
    {
        Rig rig;
        QVERIFY2(rig.started && rig.panel.isReady(), qPrintable(rig.panel.problem()));
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
};

QTEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
