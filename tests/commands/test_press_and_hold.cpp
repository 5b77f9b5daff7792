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
        void send(const char *cliName) { sender.send(*findCommand(cliName)); }

        std::unique_ptr<IntervalTimer> repeat = clock.createTimer(200);
        Repeater repeater{transaction, *repeat, *replyTimeout, *displayClear, display};
        CommandSender sender{transaction, *replyTimeout, *displayClear, &repeater};
    };

private slots:
    // Each press sets the reply timeout and display clear the adjuster or the arrow mode calls
    // for; a hold sends at the press and then every period until the release.
    void holdRepeatsAtItsPeriodWithItsIntervals_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("adjuster");
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("replyTimeout");
        QTest::addColumn<int>("displayClear");
        const auto row = [](const char *tag, QStringList before, const char *adjuster, int period,
                            int replyTimeout, int displayClear) {
            QTest::newRow(tag) << before << adjuster << period << replyTimeout << displayClear;
        };
        row("VOL +", {}, "vol-up", 250, 200, 245);
        row("Brightness -", {}, "brightness-down", 50, 25, 25);
        row("SELECT", {}, "select", 500, 200, 245);
        row("up at start", {}, "cursor-up", 200, 500, 1000);
        row("right after A-IMAGE", {"a-image"}, "cursor-right", 200, 150, 190);
        row("down after MENU ON", {"menu-on"}, "cursor-down", 200, 150, 190);
        row("MENU OFF changes nothing", {"menu-off"}, "cursor-left", 200, 500, 1000);
        row("after a D.Zoom release", {"d-zoom-up"}, "cursor-right", 5, 5, 5);
        row("D.Zoom then MENU ON", {"d-zoom-down", "menu-on"}, "cursor-up", 200, 150, 190);
        row("MENU ON then VOL", {"menu-on", "vol-up"}, "cursor-right", 250, 150, 190);
        // A single-press command's kind sets the two before its send, and they stay in force
        // (an arrow at start leaves them as they are).
        row("after a long reply and a plain one", {"real", "power-on"}, "cursor-up", 200, 2000,
            2500);
        row("after SEND", {"typed"}, "cursor-up", 200, 2000, 2500);
        row("after an input switch", {"pc1-rgb"}, "cursor-up", 200, 5000, 5500);
    }
    void holdRepeatsAtItsPeriodWithItsIntervals()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, adjuster);
        QFETCH(int, period);
        Rig rig;
        for (const QString &step : before) {
            if (step == "typed")
                rig.sender.sendTyped(QStringLiteral("cr0"));
            else if (const Adjuster *pressed = findAdjuster(step.toStdString())) {
                rig.repeater.press(*pressed); // and released at once
                rig.repeater.release(*pressed);
            } else
                rig.send(qPrintable(step));
        }
        QVERIFY(!rig.repeat->isActive()); // preparing the arrows starts nothing
        rig.clock.advance(10000);
        rig.port.written.clear();

        const Adjuster &held = *findAdjuster(adjuster.toStdString());
        rig.repeater.press(held);
        QTEST(rig.replyTimeout->interval(), "replyTimeout");
        QTEST(rig.displayClear->interval(), "displayClear");
        rig.clock.advance(period * 10);
        rig.repeater.release(held);
        rig.clock.advance(2000);
        QCOMPARE(rig.port.written, QList<QByteArray>(11, QByteArray(held.code) + '\r'));
    }

    void releaseBlanksTrafficAtOnceAndStatusAfter1000()
    {
        Rig rig;
        rig.send("status");
        rig.port.deliver("00\r");
        rig.repeater.press(*findAdjuster("vol-down"));
        rig.port.deliver("\x06");
        rig.repeater.release(*findAdjuster("vol-down"));
        QCOMPARE(rig.display.lines(), QStringList({"", "", " Power ON"}));
        QVERIFY(rig.transaction.recvText().isEmpty());
        QCOMPARE(rig.replyTimeout->interval(), 500);
        rig.clock.advance(999);
        QCOMPARE(rig.display.lines(), QStringList({"", "", " Power ON"})); // no timeout mark
        rig.clock.advance(1);
        QCOMPARE(rig.display.status, QString());
        QCOMPARE(rig.port.written, (QList<QByteArray>{"CR0\r", "C0A\r"})); // released at once
    }
};

QTEST_GUILESS_MAIN(PressAndHoldTest)
#include "test_press_and_hold.moc"
