#include "fake_timers.h"
#include "qt_timer_service.h"

#include <QElapsedTimer>
#include <QTest>

// What the exchange relies on from a timer, held against both the real timers and the stepped
// fake the other tests use, so the fake cannot drift from the real ones. Intervals are long
// enough, and every look taken halfway between two possible ticks, for a busy machine.
class TimerContractTest : public QObject {
    Q_OBJECT

    struct Clock {
        explicit Clock(bool real)
        {
            if (real)
                service = std::make_unique<QtTimerService>();
            else
                service = std::make_unique<FakeTimerService>();
            started.start();
        }
        // Moves on to ms after the start.
        void at(int ms)
        {
            if (auto *fake = dynamic_cast<FakeTimerService *>(service.get()))
                fake->advance(int(ms - fake->now()));
            else
                QTest::qWait(int(std::max<qint64>(0, ms - started.elapsed())));
        }
        std::unique_ptr<IntervalTimer> timer(int intervalMs, int &ticks)
        {
            auto made = service->createTimer(intervalMs);
            made->setTickHandler([&ticks] { ++ticks; });
            return made;
        }
        std::unique_ptr<TimerService> service;
        QElapsedTimer started;
    };

private slots:
    void initTestCase_data()
    {
        QTest::addColumn<bool>("real");
        QTest::newRow("stepped fake") << false;
        QTest::newRow("real Qt timers") << true;
    }

    void aRunningTimerTicksEveryIntervalUntilStopped()
    {
        QFETCH_GLOBAL(bool, real);
        Clock clock(real);
        int ticks = 0;
        const auto timer = clock.timer(300, ticks);
        QVERIFY(!timer->isActive());
        timer->start();
        QVERIFY(timer->isActive());
        clock.at(150);
        QCOMPARE(ticks, 0);
        clock.at(450);
        QCOMPARE(ticks, 1);
        clock.at(750);
        QCOMPARE(ticks, 2);
        timer->stop();
        QVERIFY(!timer->isActive());
        clock.at(1050);
        QCOMPARE(ticks, 2);
        QCOMPARE(timer->interval(), 300);
    }

    // Halfway through a 400 ms count: start() again keeps it, a new interval or a stop and start
    // begins it afresh.
    void aCountRestartsOnlyWhenItShould_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("ticksAt500");
        QTest::newRow("start again") << "start" << 1;
        QTest::newRow("set the interval") << "interval" << 0;
        QTest::newRow("stop, then start") << "stop" << 0;
    }
    void aCountRestartsOnlyWhenItShould()
    {
        QFETCH_GLOBAL(bool, real);
        QFETCH(QString, action);
        Clock clock(real);
        int ticks = 0;
        const auto timer = clock.timer(400, ticks);
        timer->start();
        clock.at(200);
        if (action == "interval")
            timer->setInterval(400);
        else if (action == "stop")
            timer->stop();
        timer->start();
        clock.at(500);
        QTEST(ticks, "ticksAt500");
        clock.at(700);
        QCOMPARE(ticks, 1);
    }
};

QTEST_GUILESS_MAIN(TimerContractTest)
#include "test_timer_contract.moc"
