#include "fake_timers.h"
#include "view_switcher.h"

#include <QTest>

namespace {
const QString Show = QStringLiteral("データを表示する"),
              Hide = QStringLiteral("データを表示しない"), Close = QStringLiteral("CLOSE");
}

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
        QString caption = Show;
        bool toggleShown = false;
    };

private slots:
    // The row's name: inputs one after another from the start (compact, the toggle hidden),
    // reaching each state and meeting each input there. Then the outer height and the caption.
    void eachInputFromEachState_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("caption");
        QTest::newRow("picture") << 5350 << Show; // nothing before Ctrl+H
        QTest::newRow("ctrl+h") << 7200 << Close;
        QTest::newRow("ctrl+h ctrl+h") << 7200 << Close;
        QTest::newRow("ctrl+h picture") << 9100 << Close;
        QTest::newRow("ctrl+h picture picture") << 9100 << Close;
        QTest::newRow("ctrl+h picture ctrl+h") << 7200 << Close;
        QTest::newRow("ctrl+h picture toggle") << 5350 << Show;
        QTest::newRow("ctrl+h toggle") << 5350 << Show;
        QTest::newRow("ctrl+h toggle picture") << 5350 << Show;
        QTest::newRow("ctrl+h toggle ctrl+h") << 7200 << Close;
        QTest::newRow("ctrl+h toggle toggle") << 6645 << Hide;
        QTest::newRow("ctrl+h toggle toggle picture") << 6645 << Hide;
        QTest::newRow("ctrl+h toggle toggle ctrl+h") << 7200 << Close;
        QTest::newRow("ctrl+h toggle toggle toggle") << 5350 << Show;
    }
    void eachInputFromEachState()
    {
        const QString inputs = QString::fromLatin1(QTest::currentDataTag());
        FakeTimerService clock;
        const auto panelHide = clock.createTimer(5000);
        Window window;
        ViewSwitcher views(window, *panelHide);
        for (const QString &input : inputs.split(' ')) {
            if (input == "ctrl+h")
                views.openExtendedView();
            else if (input == "picture")
                views.openFullView();
            else
                views.toggleData();
        }
        QTEST(window.height, "height");
        QTEST(window.caption, "caption");
        QCOMPARE(window.toggleShown, inputs.contains("ctrl+h"));
    }
};

QTEST_GUILESS_MAIN(ViewSwitcherTest)
#include "test_view_switcher.moc"
