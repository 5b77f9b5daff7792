#include "fake_timers.h"
#include "view_switcher.h"

#include <QTest>

namespace {

const char *const Show = "データを表示する", *const Hide = "データを表示しない",
                  *const Close = "CLOSE";

// From each state, by each input: the outer height, the toggle's caption and the extended flag.
const struct Transition {
    const char *from, *action;
    int height;
    const char *caption;
    int extendedView;
} Transitions[] = {
    {"compact", "ctrl+h", 7200, Close, 1},        {"extended", "ctrl+h", 7200, Close, 1},
    {"full", "ctrl+h", 7200, Close, 1},           {"compact+toggle", "ctrl+h", 7200, Close, 1},
    {"data shown", "ctrl+h", 7200, Close, 1},     {"compact", "picture", 5350, Show, 0},
    {"extended", "picture", 9100, Close, 1},      {"full", "picture", 9100, Close, 1},
    {"compact+toggle", "picture", 5350, Show, 0}, {"data shown", "picture", 6645, Hide, 0},
    {"extended", "toggle", 5350, Show, 0},        {"full", "toggle", 5350, Show, 0},
    {"data shown", "toggle", 5350, Show, 0},      {"compact+toggle", "toggle", 6645, Hide, 0},
};

} // namespace

// The view switching on a window of plain fields: heights and the toggle, from every state each
// input can meet.
class ViewSwitcherTest : public QObject {
    Q_OBJECT

    struct Window final : ViewWindow {
        int viewHeight() const override { return height; }
        void setViewHeight(int outerTwips) override { height = outerTwips; }
        void setToggleCaption(const QString &text) override { caption = text; }
        void showToggle() override { toggleShown = true; }
        int height = 5350;
        QString caption = QString::fromUtf8(Show);
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
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(Transitions)); ++row)
            QTest::addRow("%s, %s", Transitions[row].from, Transitions[row].action) << row;
    }
    void transitions()
    {
        QFETCH(int, row);
        const Transition &to = Transitions[row];
        const QString from = QString::fromUtf8(to.from), action = QString::fromUtf8(to.action);
        Rig rig;
        rig.reach(from);
        if (action == "ctrl+h")
            rig.views.openExtendedView();
        else if (action == "picture")
            rig.views.openFullView();
        else
            rig.views.toggleData();
        QCOMPARE(rig.window.height, to.height);
        QCOMPARE(rig.window.caption, QString::fromUtf8(to.caption));
        QCOMPARE(rig.window.toggleShown, from != "compact" || action == "ctrl+h");
        QCOMPARE(rig.views.extendedView(), to.extendedView);
    }
};

QTEST_GUILESS_MAIN(ViewSwitcherTest)
#include "test_view_switcher.moc"
