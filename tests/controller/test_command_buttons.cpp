#include "panel_rig.h"
#include "repeater.h"

// The single-press buttons: their bytes on the line, the start timing, END.
class CommandButtonsTest : public QObject {
    Q_OBJECT
private slots:
    void eachButtonSendsItsCode()
    {
        for (const CommandButton &command : commandButtons()) {
            PanelRig rig;
            rig.click(command.name);
            QCOMPARE(rig.port.written, QList<QByteArray>{QByteArray(command.code) + '\r'});
        }
    }

    void fanModeGoesOutAsFourteenBytes()
    {
        PanelRig rig;
        rig.click("Command38");
        QCOMPARE(rig.port.written.value(0).size(), 14);
    }

    void statusAtStartWaits500AndClearsAfter1000()
    {
        PanelRig rig;
        rig.click("Command44");
        rig.clock.advance(499);
        QCOMPARE(rig.line("Label12"), QString());
        rig.clock.advance(1);
        QCOMPARE(rig.line("Label12"), QStringLiteral(" X X X X"));
        rig.clock.advance(499);
        QCOMPARE(rig.line("Label11"), QStringLiteral(" C R 0 CR "));
        rig.clock.advance(1);
        QCOMPARE(rig.line("Label11"), QString());
    }

    void statusButtonDecodesTheReply()
    {
        PanelRig rig;
        rig.click("Command44");
        rig.port.deliver("80\r");
        QCOMPARE(rig.line("Label22"), QStringLiteral(" Stand by"));
    }

    void arrowPreparationReachesTheCross()
    {
        PanelRig rig;
        rig.click("Command13"); // A-IMAGE
        QCOMPARE(rig.controller.repeater().arrowMode(), 1);
    }

    void endClosesPortAndEndsWithoutSending()
    {
        PanelRig rig;
        QVERIFY(rig.port.isOpen());
        rig.click("Command16");
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.programEnds, 1);
        QVERIFY(rig.port.written.isEmpty());
    }

    void sendingOnClosedPortDoesNotCrashAndKeepsTheSequence()
    {
        PanelRig rig;
        rig.port.close();
        rig.click("Command4"); // STAND, long reply
        QVERIFY(rig.port.written.isEmpty());
        QCOMPARE(rig.line("Label11"), QStringLiteral(" C 1 1 CR "));
        QCOMPARE(rig.interval(2), 2000);
        QVERIFY(rig.controller.timer(2).isActive());
    }
};

QTEST_MAIN(CommandButtonsTest)
#include "test_command_buttons.moc"
