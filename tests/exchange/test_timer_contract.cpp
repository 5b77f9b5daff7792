#include "fake_timers.h"
#include "qt_timer_service.h"

#include <QElapsedTimer>
#include <QTest>

// What the exchange relies on from a timer, held against both the real timers and the stepped
// fake the other tests use, so the fake cannot drift from the real ones. Intervals are long
// enough, and every look taken halfway between two possible ticks, for a busy machine.
class TimerContractTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<bool>("real");
        QTest::newRow("stepped fake") << false;
        QTest::newRow("real Qt timers") << true;
    }

    // Started at 0 with 400 ms, and at 200 ms one more call: it ticks every interval until
    // stopped; start() again keeps the count, a new interval or a stop and start begins it afresh.
    void aCountRunsUntilStoppedAndRestartsOnlyWhenItShould_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("ticksAt500");
        QTest::addColumn<int>("ticksAt900");
        QTest::newRow("nothing") << "" << 1 << 2;
        QTest::newRow("start again") << "start" << 1 << 2;
        QTest::newRow("set the interval") << "interval" << 0 << 1;
        QTest::newRow("stop, then start") << "stop, start" << 0 << 1;
        QTest::newRow("stop") << "stop" << 0 << 0;
    }
    void aCountRunsUntilStoppedAndRestartsOnlyWhenItShould()
    {
        QFETCH_GLOBAL(bool, real);
        QFETCH(QString, action);
        FakeTimerService fake;
        QtTimerService qt;
        QElapsedTimer started;
        const auto at = [&](int ms) { // ms after the start
            if (real)
                QTest::qWait(int(std::max<qint64>(0, ms - started.elapsed())));
            else
                fake.advance(int(ms - fake.now()));
        };
        int ticks = 0;
        const auto timer = real ? qt.createTimer(400) : fake.createTimer(400);
        timer->setTickHandler([&ticks] { ++ticks; });
        QVERIFY(!timer->isActive());
        timer->start();
        started.start();
        at(200);
        if (action.startsWith("stop"))
            timer->stop();
        if (action == "interval")
            timer->setInterval(400);
        if (action.endsWith("start"))
            timer->start();
        QCOMPARE(timer->isActive(), action != "stop");
        QCOMPARE(timer->interval(), 400);
        at(500);
        QTEST(ticks, "ticksAt500");
        at(900);
        QTEST(ticks, "ticksAt900");
    }
};

QTEST_GUILESS_MAIN(TimerContractTest)
#include "test_timer_contract.moc"
