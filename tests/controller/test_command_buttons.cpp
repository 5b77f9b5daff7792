#include "panel_rig.h"
#include "repeater.h"

// The single-press buttons: their bytes on the line and the reply and display timing.
class CommandButtonsTest : public QObject {
    Q_OBJECT
private slots:
    void eachButtonSendsItsCode_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("bytes");
        const QList<std::pair<const char *, QByteArray>> rows{
            {"Command17", "C00\r"},
            {"Command18", "C01\r"},
            {"Command27", "C05\r"},
            {"Command28", "C06\r"},
            {"Command29", "C07\r"},
            {"Command19", "C0B\r"},
            {"Command20", "C0C\r"},
            {"Command21", "C0D\r"},
            {"Command22", "C0E\r"},
            {"Command23", "C1C\r"},
            {"Command24", "C1D\r"},
            {"Command25", "C43\r"},
            {"Command26", "C44\r"},
            {"Command31", "C0F\r"},
            {"Command32", "C10\r"},
            {"Command38", "CF FANMODE L1\r"},
            {"Command43", "CF FANMODE L2\r"},
            {"Command13", "C89\r"},
            {"Command30", "C27\r"},
            {"Command14", "C8A\r"},
            {"Command3", "C1E\r"},
            {"Command4", "C11\r"},
            {"Command10", "C12\r"},
            {"Command11", "C13\r"},
            {"Command39", "C14\r"},
            {"Command40", "C15\r"},
            {"Command41", "C16\r"},
            {"Command42", "C17\r"},
            {"Command12", "C18\r"},
            {"Command37", "C19\r"},
            {"Command44", "CR0\r"},
            {"Command45", "CR1\r"},
            {"Command46", "CR3\r"},
            {"Command47", "CR4\r"},
            {"Command54", "CR6\r"},
            {"Command55", "CR7\r"},
            {"Command64", "C50\r"},
            {"Command52", "C51\r"},
            {"Command53", "C54\r"},
            {"Command72", "CF INPUT COMPUTER2 ANALOG\r"},
            {"Command82", "CF INPUT VIDEO VIDEO\r"},
            {"Command69", "CF INPUT COMPUTER1 S-VIDEO\r"},
            {"Command36", "C02\r"},
        };
        for (const auto &[button, bytes] : rows)
            QTest::newRow(button) << QString::fromLatin1(button) << bytes;
    }
    void eachButtonSendsItsCode()
    {
        QFETCH(QString, button);
        QFETCH(QByteArray, bytes);
        PanelRig rig;
        rig.form.control<QPushButton>(button)->click();
        QCOMPARE(rig.port.written, QList<QByteArray>{bytes});
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

    void longReplyTimingStaysForLaterPlainButtons()
    {
        PanelRig rig;
        rig.click("Command10"); // REAL
        rig.clock.advance(3000);
        rig.click("Command17"); // POWER ON
        rig.clock.advance(1999);
        QCOMPARE(rig.line("Label12"), QString());
        rig.clock.advance(1);
        QCOMPARE(rig.line("Label12"), QStringLiteral(" X X X X"));
        rig.clock.advance(499);
        QCOMPARE(rig.line("Label11"), QStringLiteral(" C 0 0 CR "));
        rig.clock.advance(1);
        QCOMPARE(rig.line("Label11"), QString());
    }

    void inputSwitchTimingMakesStatusQueryWait5000()
    {
        PanelRig rig;
        rig.click("Command64"); // RGB of PC1
        rig.clock.advance(6000);
        rig.click("Command44"); // STATUS
        QCOMPARE(rig.interval(2), 5000);
        QCOMPARE(rig.interval(4), 5500);
        rig.clock.advance(4999);
        QCOMPARE(rig.line("Label12"), QString());
        rig.clock.advance(1);
        QCOMPARE(rig.line("Label12"), QStringLiteral(" X X X X"));
    }

    void statusButtonDecodesTheReply()
    {
        PanelRig rig;
        rig.click("Command44");
        rig.port.deliver("80\r");
        QCOMPARE(rig.line("Label22"), QStringLiteral(" Stand by"));
    }

    void arrowPreparationSetsArrowModeWithoutStartingRepeat()
    {
        PanelRig rig;
        rig.click("Command13"); // A-IMAGE
        QCOMPARE(rig.controller.repeater().arrowMode(), 1);
        QCOMPARE(rig.interval(1), 200);
        QVERIFY(!rig.controller.timer(1).isActive());
        rig.clock.advance(1000);
        QCOMPARE(rig.port.written, QList<QByteArray>{"C89\r"});
    }

    void menuOffLeavesArrowModeAlone()
    {
        PanelRig rig;
        rig.click("Command24");
        QCOMPARE(rig.controller.repeater().arrowMode(), 0);
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
