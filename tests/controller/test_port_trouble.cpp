#include "panel_rig.h"
#include "repeater.h"
#include "transaction.h"

#include <QRadioButton>

// A port that is closed, refuses writes or goes away: nothing crashes, nothing is written,
// the user is told once, a hold stops, and a good port choice brings everything back.
class PortTroubleTest : public QObject {
    Q_OBJECT

    static void choosePort(PanelRig &rig, const char *option)
    {
        rig.click("Command33");
        rig.form.control<QRadioButton>(option)->click();
    }

private slots:
    void sendsOnClosedPortWarnOncePerEpisode()
    {
        PanelRig rig;
        rig.port.close();
        rig.click("Command17");
        rig.click("Command18");
        rig.click("Command44");
        QVERIFY(rig.port.written.isEmpty());
        QCOMPARE(rig.warnings.size(), 1);
        QVERIFY(rig.warnings[0].contains("/dev/fake1"));
        QVERIFY(rig.warnings[0].contains("\"COM\""));
        QCOMPARE(rig.line("Label11"), QStringLiteral(" C R 0 CR "));
    }

    void heldAdjusterStopsWhenItsSendFails()
    {
        PanelRig rig;
        rig.port.failWrites = true;
        rig.press("Command15");
        rig.clock.advance(1000);
        QVERIFY(!rig.controller.repeater().isHolding());
        QVERIFY(!rig.controller.timer(1).isActive());
        QCOMPARE(rig.warnings.size(), 1);
        rig.release("Command15");
        QCOMPARE(rig.warnings.size(), 1);
    }

    void goodPortChoiceEndsTheEpisode()
    {
        PanelRig rig;
        rig.port.close();
        rig.click("Command17");
        choosePort(rig, "Option1");
        QVERIFY(rig.port.isOpen());
        rig.click("Command17");
        QCOMPARE(rig.port.written, QList<QByteArray>{"C00\r"});
        rig.port.close();
        rig.click("Command18");
        QCOMPARE(rig.warnings.size(), 2);
    }

    void failedStartUpCountsAsTold()
    {
        PanelRig rig;
        FakeSerialPort missing;
        missing.makeMissing(1);
        Form1 form;
        QStringList warnings;
        PanelController controller(form, missing, rig.clock,
                                   PanelHooks{[&](const QString &t) { warnings.append(t); }, {}});
        controller.load();
        form.control<QPushButton>("Command17")->click();
        QCOMPARE(warnings, QStringList{"port 1 missing"});
    }

    void lostLinkStopsHoldAndWarnsOnceThenReconnectsWhenDeviceReturns()
    {
        PanelRig rig;
        rig.press("Command1");
        rig.clock.advance(250);
        rig.port.loseLink("The connection on serial port 1 was lost.");
        QVERIFY(!rig.controller.repeater().isHolding());
        rig.clock.advance(1000);
        rig.click("Command17");
        QCOMPARE(rig.port.written, QList<QByteArray>(2, "C09\r"));
        QCOMPARE(rig.warnings.size(), 1);
        QVERIFY(rig.warnings[0].startsWith("The connection on serial port 1 was lost."));

        emit rig.port.deviceReturned();
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.port.portNumber(), 1);
        rig.click("Command17");
        QCOMPARE(rig.port.written.last(), QByteArray("C00\r"));
        rig.port.loseLink("lost again");
        QCOMPARE(rig.warnings.size(), 2);
    }

    void floodKeepsTheCollectionBounded()
    {
        PanelRig rig;
        rig.click("Command44");
        rig.port.deliver("00\r");
        for (int i = 0; i < 200; ++i)
            rig.port.deliver(QByteArray(100, 'x'));
        QCOMPARE(rig.controller.transaction().recvText().size(), Transaction::MaxCollected);
        QVERIFY(rig.controller.transaction().recvText().startsWith("00\r"));
        QCOMPARE(rig.line("Label22"), QStringLiteral(" Power ON"));
        QVERIFY(rig.line("Label12").size() <=
                4 * Transaction::MaxCollected + 1); // "ACK " is the longest
        rig.clock.advance(500);                     // the reply timeout opens a new collection
        rig.port.deliver("y");
        QCOMPARE(rig.line("Label12"), QStringLiteral(" y "));
    }
};

QTEST_MAIN(PortTroubleTest)
#include "test_port_trouble.moc"
