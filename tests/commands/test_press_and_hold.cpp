#include "command_sender.h"
#include "exchange_rig.h"
#include "repeater.h"

#include <QTest>

// Press-and-hold and the sticky intervals of the single-press commands, on a stepped clock:
// what goes on the line, when, and which reply-timeout and display-clear intervals hold.
class PressAndHoldTest : public QObject {
    Q_OBJECT

    struct Rig : ExchangeRig {
        Rig()
        {
            repeat->setTickHandler([this] { repeater.onRepeatTick(); });
        }
        const Adjuster &adjuster(const char *cliName) const { return *findAdjuster(cliName); }
        void hold(const char *cliName, int ms)
        {
            repeater.press(adjuster(cliName));
            clock.advance(ms);
            repeater.release(adjuster(cliName));
        }
        void send(const char *cliName) { sender.send(*findCommand(cliName)); }

        std::unique_ptr<IntervalTimer> repeat = clock.createTimer(200);
        Repeater repeater{transaction, *repeat, *replyTimeout, *displayClear, display};
        CommandSender sender{transaction, *replyTimeout, *displayClear, &repeater};
    };

private slots:
    void holdSendsAtThePressThenEveryPeriodUntilTheRelease_data()
    {
        QTest::addColumn<QString>("adjuster");
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("sends");
        QTest::newRow("VOL + for 1.1 s, every 250") << "vol-up" << 1100 << QByteArray("C09\r") << 5;
        QTest::newRow("Keystone + let go at once")
            << "keystone-up" << 100 << QByteArray("C8E\r") << 1;
        QTest::newRow("Brightness - every 50")
            << "brightness-down" << 100 << QByteArray("C21\r") << 3;
        QTest::newRow("SELECT every 500") << "select" << 1000 << QByteArray("C3F\r") << 3;
        QTest::newRow("up at start, every 200") << "cursor-up" << 1000 << QByteArray("C3C\r") << 6;
    }
    void holdSendsAtThePressThenEveryPeriodUntilTheRelease()
    {
        QFETCH(QString, adjuster);
        QFETCH(int, holdMs);
        QFETCH(QByteArray, bytes);
        QFETCH(int, sends);
        Rig rig;
        rig.hold(qPrintable(adjuster), holdMs);
        rig.clock.advance(2000);
        QCOMPARE(rig.port.written, QList<QByteArray>(sends, bytes));
        QVERIFY(!rig.repeat->isActive());
    }

    void theFirstSendOfAHoldRunsOnTheAdjustersIntervals()
    {
        Rig rig;
        rig.repeater.press(rig.adjuster("vol-down")); // its 200/245 govern the send's timers
        rig.clock.advance(199);
        QCOMPARE(rig.display.received, QString());
        rig.clock.advance(1);
        QCOMPARE(rig.display.received, QStringLiteral(" X X X X"));
        rig.clock.advance(44);
        QCOMPARE(rig.display.sent, QStringLiteral(" C 0 A CR "));
        rig.clock.advance(1);
        QCOMPARE(rig.display.sent, QString());
    }

    void arrowIntervalsFollowTheArrowMode_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("replyTimeout");
        QTest::addColumn<int>("displayClear");
        QTest::addColumn<int>("arrowMode");
        QTest::newRow("at start") << QStringList{} << 200 << 500 << 1000 << 0;
        QTest::newRow("after A-IMAGE") << QStringList{"a-image"} << 200 << 150 << 190 << 1;
        QTest::newRow("after MENU ON") << QStringList{"menu-on"} << 200 << 150 << 190 << 1;
        QTest::newRow("MENU OFF changes nothing")
            << QStringList{"menu-off"} << 200 << 500 << 1000 << 0;
        QTest::newRow("after D.Zoom release") << QStringList{"d-zoom-up"} << 5 << 5 << 5 << 3;
        QTest::newRow("D.Zoom then MENU ON")
            << QStringList{"d-zoom-down", "menu-on"} << 200 << 150 << 190 << 1;
        QTest::newRow("MENU ON then VOL")
            << QStringList{"menu-on", "vol-up"} << 250 << 150 << 190 << 1;
    }
    void arrowIntervalsFollowTheArrowMode()
    {
        QFETCH(QStringList, before);
        QFETCH(int, period);
        QFETCH(int, replyTimeout);
        QFETCH(int, displayClear);
        QFETCH(int, arrowMode);
        Rig rig;
        for (const QString &step : before) {
            if (findAdjuster(step.toStdString()))
                rig.hold(qPrintable(step), 0);
            else
                rig.send(qPrintable(step));
        }
        QCOMPARE(rig.repeater.arrowMode(), arrowMode);
        QVERIFY(!rig.repeat->isActive()); // preparing the arrows starts nothing
        rig.clock.advance(10000);
        rig.port.written.clear();

        rig.repeater.press(rig.adjuster("cursor-right"));
        QCOMPARE(rig.replyTimeout->interval(), replyTimeout);
        QCOMPARE(rig.displayClear->interval(), displayClear);
        rig.clock.advance(period * 10);
        rig.repeater.release(rig.adjuster("cursor-right"));
        QCOMPARE(rig.port.written, QList<QByteArray>(11, "C3A\r"));
    }

    void releaseBlanksTrafficAtOnceAndStatusAfter1000()
    {
        Rig rig;
        rig.send("status");
        rig.port.deliver("00\r");
        rig.repeater.press(rig.adjuster("vol-down"));
        rig.port.deliver("\x06");
        rig.repeater.release(rig.adjuster("vol-down"));
        QCOMPARE(rig.display.sent, QString());
        QCOMPARE(rig.display.received, QString());
        QCOMPARE(rig.display.status, QStringLiteral(" Power ON"));
        QVERIFY(rig.transaction.recvText().isEmpty());
        QCOMPARE(rig.replyTimeout->interval(), 500);
        rig.clock.advance(999);
        QCOMPARE(rig.display.status, QStringLiteral(" Power ON"));
        QCOMPARE(rig.display.received, QString()); // no timeout mark after a release
        rig.clock.advance(1);
        QCOMPARE(rig.display.status, QString());
    }

    void timingKindsSetTheirIntervalsBeforeSendingAndTheyStay_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("replyTimeout");
        QTest::addColumn<int>("displayClear");
        QTest::newRow("plain keeps the start") << "power-on" << 500 << 1000;
        QTest::newRow("long reply") << "real" << 2000 << 2500;
        QTest::newRow("input switch") << "pc1-rgb" << 5000 << 5500;
    }
    void timingKindsSetTheirIntervalsBeforeSendingAndTheyStay()
    {
        QFETCH(QString, first);
        QFETCH(int, replyTimeout);
        QFETCH(int, displayClear);
        Rig rig;
        rig.send(qPrintable(first));
        rig.clock.advance(6000);
        rig.send("status"); // plain: the intervals in force
        rig.clock.advance(replyTimeout - 1);
        QCOMPARE(rig.display.received, QString());
        rig.clock.advance(1);
        QCOMPARE(rig.display.received, QStringLiteral(" X X X X"));
        rig.clock.advance(displayClear - replyTimeout - 1);
        QCOMPARE(rig.display.sent, QStringLiteral(" C R 0 CR "));
        rig.clock.advance(1);
        QCOMPARE(rig.display.sent, QString());
    }
};

QTEST_GUILESS_MAIN(PressAndHoldTest)
#include "test_press_and_hold.moc"
