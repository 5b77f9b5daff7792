#include "panel_rig.h"
#include "repeater.h"

#include <QApplication>
#include <QEvent>

// The press-and-hold adjusters on a stepped clock: what a hold sends and when.
class AdjustersTest : public QObject {
    Q_OBJECT

    static int countOf(const PanelRig &rig, const QByteArray &bytes)
    {
        return int(rig.port.written.count(bytes));
    }

private slots:
    void volumeHeldForOnePointOneSecondsSendsFiveTimes()
    {
        PanelRig rig;
        rig.press("Command1");
        QCOMPARE(countOf(rig, "C09\r"), 1);
        rig.clock.advance(249);
        QCOMPARE(countOf(rig, "C09\r"), 1);
        rig.clock.advance(1);
        QCOMPARE(countOf(rig, "C09\r"), 2);
        rig.clock.advance(850);
        rig.release("Command1");
        QCOMPARE(rig.port.written, QList<QByteArray>(5, "C09\r"));
        rig.clock.advance(2000);
        QCOMPARE(rig.port.written.size(), 5);
    }

    void pressReleasedBeforeThePeriodSendsOnce()
    {
        PanelRig rig;
        rig.press("Command50");
        rig.clock.advance(100);
        rig.release("Command50");
        rig.clock.advance(1000);
        QCOMPARE(rig.port.written, QList<QByteArray>{"C8E\r"});
    }

    void anyMouseButtonRepeats_data()
    {
        QTest::addColumn<Qt::MouseButton>("mouseButton");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("right") << Qt::RightButton;
        QTest::newRow("middle") << Qt::MiddleButton;
    }
    void anyMouseButtonRepeats()
    {
        QFETCH(Qt::MouseButton, mouseButton);
        PanelRig rig;
        rig.press("Command35", mouseButton);
        rig.clock.advance(100);
        rig.release("Command35", mouseButton);
        QCOMPARE(rig.port.written, QList<QByteArray>(3, "C21\r"));
    }

    void keyboardActivationSendsNothing()
    {
        PanelRig rig;
        QTest::keyClick(rig.button("Command1"), Qt::Key_Space);
        QTest::keyClick(rig.button("Command1"), Qt::Key_Return);
        rig.button("Command1")->click();
        rig.clock.advance(1000);
        QVERIFY(rig.port.written.isEmpty());
    }

    void pressSetsItsIntervalsAfterTheFirstSend()
    {
        PanelRig rig;
        rig.press("Command15"); // Brightness +
        QCOMPARE(rig.interval(1), 50);
        QCOMPARE(rig.interval(2), 25);
        QCOMPARE(rig.interval(4), 25);
        rig.release("Command15");

        rig.press("Command2"); // VOL -: its own 200/245 govern the timers the send started
        rig.clock.advance(199);
        QCOMPARE(rig.line("Label12"), QString());
        rig.clock.advance(1);
        QCOMPARE(rig.line("Label12"), QStringLiteral(" X X X X"));
        rig.clock.advance(44);
        QCOMPARE(rig.line("Label11"), QStringLiteral(" C 0 A CR "));
        rig.clock.advance(1);
        QCOMPARE(rig.line("Label11"), QString());
        rig.release("Command2");
    }

    void selectRepeatsEvery500()
    {
        PanelRig rig;
        rig.press("Command6");
        rig.clock.advance(1000);
        rig.release("Command6");
        QCOMPARE(rig.port.written, QList<QByteArray>(3, "C3F\r"));
    }

    void arrowRightAfterStartRepeatsEvery200WithStartTimings()
    {
        PanelRig rig;
        rig.press("Command5"); // up
        QCOMPARE(rig.interval(2), 500);
        QCOMPARE(rig.interval(4), 1000);
        rig.clock.advance(1000);
        rig.release("Command5");
        QCOMPARE(rig.port.written, QList<QByteArray>(6, "C3C\r"));
    }

    void arrowIntervalsFollowTheArrowMode_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("replyTimeout");
        QTest::addColumn<int>("displayClear");
        QTest::newRow("after A-IMAGE") << QStringList{"click Command13"} << 200 << 150 << 190;
        QTest::newRow("after MENU ON") << QStringList{"click Command23"} << 200 << 150 << 190;
        QTest::newRow("after D.Zoom release") << QStringList{"hold Command48"} << 5 << 5 << 5;
        QTest::newRow("D.Zoom then MENU ON")
            << QStringList{"hold Command49", "click Command23"} << 200 << 150 << 190;
        QTest::newRow("MENU ON then VOL")
            << QStringList{"click Command23", "hold Command1"} << 250 << 150 << 190;
    }
    void arrowIntervalsFollowTheArrowMode()
    {
        QFETCH(QStringList, before);
        QFETCH(int, period);
        QFETCH(int, replyTimeout);
        QFETCH(int, displayClear);
        PanelRig rig;
        for (const QString &step : before) {
            const QByteArray name = step.section(' ', 1).toLatin1();
            if (step.startsWith("click")) {
                rig.click(name);
            } else {
                rig.press(name);
                rig.release(name);
            }
        }
        rig.clock.advance(10000);
        rig.port.written.clear();

        rig.press("Command8"); // right
        QCOMPARE(rig.interval(2), replyTimeout);
        QCOMPARE(rig.interval(4), displayClear);
        rig.clock.advance(period * 10);
        rig.release("Command8");
        QCOMPARE(rig.port.written, QList<QByteArray>(11, "C3A\r"));
    }

    void fastHoldKeepsClearingTheReplyCollection()
    {
        PanelRig rig;
        rig.press("Command48");
        rig.release("Command48");
        rig.press("Command7"); // down, every 5 ms
        for (int tick = 0; tick < 200; ++tick) {
            rig.port.deliver("\x06");
            rig.clock.advance(5);
        }
        QVERIFY(rig.controller.transaction().recvText().size() <= 2);
        QCOMPARE(rig.port.written.size(), 202); // D.Zoom, the press, 200 repeats
        rig.release("Command7");
    }

    void releaseBlanksTrafficAtOnceAndStatusAfter1000()
    {
        PanelRig rig;
        rig.click("Command44");
        rig.port.deliver("00\r");
        rig.press("Command2");
        rig.port.deliver("\x06");
        rig.release("Command2");
        QCOMPARE(rig.line("Label11"), QString());
        QCOMPARE(rig.line("Label12"), QString());
        QCOMPARE(rig.line("Label22"), QStringLiteral(" Power ON"));
        QVERIFY(rig.controller.transaction().recvText().isEmpty());
        QCOMPARE(rig.interval(2), 500);
        rig.clock.advance(999);
        QCOMPARE(rig.line("Label22"), QStringLiteral(" Power ON"));
        QCOMPARE(rig.line("Label12"), QString()); // no timeout mark after a release
        rig.clock.advance(1);
        QCOMPARE(rig.line("Label22"), QString());
    }

    void releaseOutsideTheButtonStillStops()
    {
        PanelRig rig;
        rig.press("Command1");
        QTest::mouseRelease(rig.button("Command1"), Qt::LeftButton, {}, QPoint(-50, -50));
        rig.clock.advance(1000);
        QCOMPARE(rig.port.written.size(), 1);
    }

    void lostReleaseStopsTheRepeat_data()
    {
        QTest::addColumn<int>("eventType");
        QTest::newRow("window deactivated") << int(QEvent::WindowDeactivate);
        QTest::newRow("modal box blocks the window") << int(QEvent::WindowBlocked);
    }
    void lostReleaseStopsTheRepeat()
    {
        QFETCH(int, eventType);
        PanelRig rig;
        rig.press("Command1");
        QEvent lost(static_cast<QEvent::Type>(eventType));
        QApplication::sendEvent(&rig.form, &lost);
        rig.clock.advance(1000);
        QCOMPARE(rig.port.written.size(), 1);
        QVERIFY(!rig.controller.timer(1).isActive());
    }

    void hidingTheWindowStopsTheRepeat()
    {
        PanelRig rig;
        rig.press("Command48");
        rig.form.hide();
        rig.clock.advance(1000);
        QCOMPARE(rig.port.written.size(), 1);
        QCOMPARE(rig.controller.repeater().arrowMode(), 3); // as a release would
    }
};

QTEST_MAIN(AdjustersTest)
#include "test_adjusters.moc"
