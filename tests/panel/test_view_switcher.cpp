#include "fake_timers.h"
#include "view_switcher.h"

#include <QTest>

// The view switching on a window of plain fields: heights, the toggle and the port panel's
// timer, from every state each input can meet.
class ViewSwitcherTest : public QObject {
    Q_OBJECT

    struct Window final : ViewWindow {
        int viewHeight() const override { return height; }
        void setViewHeight(int outerTwips) override { height = outerTwips; }
        void setToggleCaption(const QString &text) override { caption = text; }
        void showToggle() override { toggleShown = true; }
        int height = 5350;
        QString caption = QStringLiteral("データを表示する");
        bool toggleShown = false;
    };

    struct Rig {
        FakeTimerService clock;
        std::unique_ptr<IntervalTimer> panelHide = clock.createTimer(5000);
        Window window;
        ViewSwitcher views{window, *panelHide};

        // Each state as the user reaches it: Ctrl+H, the picture, the toggle.
        void reach(const QString &state)
        {
            if (state == "compact")
                return;
            views.openExtendedView();
            if (state == "full")
                views.openFullView();
            if (state == "compact+toggle" || state == "data shown")
                views.toggleData();
            if (state == "data shown")
                views.toggleData();
        }
    };

private slots:
    void transitions_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("extendedView");
        const QString show = QStringLiteral("データを表示する");
        const QString hide = QStringLiteral("データを表示しない");
        const QString close = QStringLiteral("CLOSE");
        for (const char *state : {"compact", "extended", "full", "compact+toggle", "data shown"})
            QTest::addRow("%s, Ctrl+H", state) << state << "ctrl+h" << 7200 << close << 1;
        QTest::newRow("compact, picture") << "compact"
                                          << "picture" << 5350 << show << 0;
        QTest::newRow("extended, picture") << "extended"
                                           << "picture" << 9100 << close << 1;
        QTest::newRow("full, picture") << "full"
                                       << "picture" << 9100 << close << 1;
        QTest::newRow("compact+toggle, picture") << "compact+toggle"
                                                 << "picture" << 5350 << show << 0;
        QTest::newRow("data shown, picture") << "data shown"
                                             << "picture" << 6645 << hide << 0;
        QTest::newRow("extended, toggle") << "extended"
                                          << "toggle" << 5350 << show << 0;
        QTest::newRow("full, toggle") << "full"
                                      << "toggle" << 5350 << show << 0;
        QTest::newRow("data shown, toggle") << "data shown"
                                            << "toggle" << 5350 << show << 0;
        QTest::newRow("compact+toggle, toggle") << "compact+toggle"
                                                << "toggle" << 6645 << hide << 0;
    }
    void transitions()
    {
        QFETCH(QString, from);
        QFETCH(QString, action);
        QFETCH(int, height);
        QFETCH(QString, caption);
        QFETCH(int, extendedView);
        Rig rig;
        rig.reach(from);
        if (action == "ctrl+h")
            rig.views.openExtendedView();
        else if (action == "picture")
            rig.views.openFullView();
        else
            rig.views.toggleData();
        QCOMPARE(rig.window.height, height);
        QCOMPARE(rig.window.caption, caption);
        QCOMPARE(rig.window.toggleShown, from != "compact" || action == "ctrl+h");
        QCOMPARE(rig.views.extendedView(), extendedView);
    }

    void toggleRestartsThePortPanelTimer()
    {
        Rig rig;
        int hides = 0;
        rig.panelHide->setTickHandler([&] {
            ++hides;
            rig.panelHide->stop();
        });
        rig.reach("compact+toggle");
        rig.clock.advance(6000); // the toggle's own count has run out
        hides = 0;
        rig.panelHide->start(); // COM shown
        rig.clock.advance(4000);
        rig.views.toggleData();
        rig.clock.advance(4999);
        QCOMPARE(hides, 0);
        rig.clock.advance(1);
        QCOMPARE(hides, 1);
    }
};

QTEST_GUILESS_MAIN(ViewSwitcherTest)
#include "test_view_switcher.moc"
