// The traffic lines at the screen's pace: the text held is always the latest, a change after a
// quiet spell is painted and announced at once, and a fast hold is painted ten times a second and
// announced at most ten times a second, its last text painted within a frame and announced.
#include "fake_timers.h"
#include "traffic_line.h"
#include "traffic_lines.h"

#include <QTest>

#include <map>
#include <vector>

namespace {

// Three lines on a shown window; the clock's time of each of their paints, and the text painted.
struct Rig : QObject {
    Rig()
    {
        for (TrafficLine *line : {&sent, &received, &status}) {
            line->setGeometry(0, 30 * int(paints.size()), 300, 20);
            line->installEventFilter(this);
            paints[line];
            connect(line, &TrafficLine::announced, this,
                    [this, line](const QString &text) { announced[line].push_back(text); });
        }
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        paints.clear();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            paints[watched].push_back(clock.now());
            painted[watched] = static_cast<TrafficLine *>(watched)->text();
        }
        return false;
    }
    // Time passes; whatever the window was asked to paint is painted.
    void advance(int ms)
    {
        clock.advance(ms);
        QCoreApplication::processEvents();
    }

    FakeTimerService clock;
    QWidget window;
    TrafficLine sent{QStringLiteral("Sent traffic"), &window};
    TrafficLine received{QStringLiteral("Received traffic"), &window};
    TrafficLine status{QStringLiteral("Status"), &window};
    TrafficLines lines{sent, received, status, clock};
    std::map<QObject *, std::vector<std::int64_t>> paints;
    std::map<QObject *, QString> painted;
    std::map<QObject *, QStringList> announced;
};

} // namespace

class TestTrafficLines : public QObject {
    Q_OBJECT
private slots:
    void aQuietChangeIsShownAtOnceAndAFastHoldIsPaced()
    {
        Rig rig;
        const QString on = QStringLiteral(" Power ON");
        rig.lines.showStatus(on);
        QCOMPARE(rig.status.text(), on);
        rig.advance(0);
        QCOMPARE(rig.paints[&rig.status].size(), 1u);
        QVERIFY(rig.paints[&rig.sent].empty());
        QCOMPARE(rig.announced[&rig.status], QStringList{on});

        rig.advance(1000); // a quiet second
        // A 5 ms hold for a second: a send, its ACK two milliseconds later, and the 5 ms display
        // clear blanking both lines just before the next send.
        const QString sent = QStringLiteral(" C 3 A CR ");
        const QString ack = QStringLiteral(" ACK ");
        for (int tick = 0; tick < 200; ++tick) {
            rig.lines.showSent(sent);
            rig.advance(2);
            rig.lines.showReceived(ack);
            QCOMPARE(rig.received.text(), ack); // held at once, whatever is painted
            rig.advance(2);
            rig.lines.showSent(QString());
            rig.lines.showReceived(QString());
            rig.advance(1);
        }
        rig.lines.showSent(sent);           // the last repeat before the release
        rig.advance(TrafficLines::FrameMs); // on screen within a frame, then or already
        QCOMPARE(rig.painted[&rig.sent], sent);
        rig.advance(500);

        for (TrafficLine *line : {&rig.sent, &rig.received}) {
            const std::vector<std::int64_t> &paints = rig.paints[line];
            QCOMPARE_GE(paints.size(), 3u);
            QCOMPARE_LE(paints.size(), 1000u / TrafficLines::BurstPaintMs + 2);
            for (std::size_t i = 1; i < paints.size(); ++i) // seen at the end of a step of <= 2 ms
                QCOMPARE_GE(paints[i] - paints[i - 1], TrafficLines::FrameMs - 2);
            QCOMPARE_GE(rig.announced[line].size(), 5);
            QCOMPARE_LE(rig.announced[line].size(), 10);
        }
        QCOMPARE(rig.painted[&rig.received], QString());
        QCOMPARE(rig.announced[&rig.sent].back(), sent);
        QCOMPARE(rig.announced[&rig.received].back(), QString());
        QCOMPARE(rig.announced[&rig.status], QStringList{on}); // untouched by the hold
    }
};

QTEST_MAIN(TestTrafficLines)
#include "test_traffic_lines.moc"
