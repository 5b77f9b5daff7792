#include "panel_rig.h"
#include "repeater.h"

#include <QApplication>
#include <QEvent>

// The adjusters' buttons: a hold starts on the press of any mouse button and ends on its
// release or when the release can no longer come. Timing is tested on the repeater itself.
class AdjustersTest : public QObject {
    Q_OBJECT

private slots:
    void everyAdjusterSendsItsCodeOnThePress()
    {
        for (const Adjuster &adjuster : adjusters()) {
            PanelRig rig;
            rig.press(adjuster.name);
            rig.release(adjuster.name);
            QCOMPARE(rig.port.written, QList<QByteArray>{QByteArray(adjuster.code) + '\r'});
        }
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
