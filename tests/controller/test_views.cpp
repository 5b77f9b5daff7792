#include "panel_rig.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>

// The view heights, the data toggle, the free-text sender and the port panel's timer.
class ViewsTest : public QObject {
    Q_OBJECT

    static void pressKey(PanelRig &rig, Qt::KeyboardModifiers modifiers)
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &rig.form, Qt::Key_H, modifiers);
    }
    static void doubleClickPicture(PanelRig &rig)
    {
        QTest::mouseDClick(rig.form.control("Image1"), Qt::LeftButton);
    }
    static QString toggleCaption(const PanelRig &rig) { return rig.button("Command34")->text(); }
    static bool toggleShown(const PanelRig &rig) { return !rig.button("Command34")->isHidden(); }

    static void expectState(const PanelRig &rig, int height, bool shown, const QString &caption)
    {
        QCOMPARE(rig.form.viewHeight(), height);
        QCOMPARE(toggleShown(rig), shown);
        QCOMPARE(toggleCaption(rig), caption);
    }

private slots:
    void startsCompactWithToggleHiddenAndComOneAt19200Chosen()
    {
        PanelRig rig;
        expectState(rig, 5350, false, QStringLiteral("データを表示する"));
        QVERIFY(rig.form.control<QRadioButton>("Option1")->isChecked());
        QVERIFY(!rig.form.control<QRadioButton>("Option2")->isChecked());
        QVERIFY(rig.form.control<QRadioButton>("Option9")->isChecked());
        QVERIFY(rig.form.control("Frame8")->isHidden());
        QCOMPARE(rig.port.settings(), QStringLiteral("19200,N,8,1"));
        QVERIFY(rig.port.isOpen());
    }

    // Each input reaches the view switching; its states are tested on the switcher itself.
    void ctrlHThenPictureThenToggle()
    {
        PanelRig rig;
        pressKey(rig, Qt::ControlModifier);
        expectState(rig, 7200, true, QStringLiteral("CLOSE"));
        doubleClickPicture(rig);
        expectState(rig, 9100, true, QStringLiteral("CLOSE"));
        rig.click("Command34");
        expectState(rig, 5350, true, QStringLiteral("データを表示する"));
    }

    void ctrlWithShiftOrAltDoesNothing_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Ctrl+Shift+H") << int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("Ctrl+Alt+H") << int(Qt::ControlModifier | Qt::AltModifier);
        QTest::newRow("H alone") << int(Qt::NoModifier);
    }
    void ctrlWithShiftOrAltDoesNothing()
    {
        QFETCH(int, modifiers);
        PanelRig rig;
        pressKey(rig, Qt::KeyboardModifiers(modifiers));
        expectState(rig, 5350, false, QStringLiteral("データを表示する"));
    }

    void shortcutWorksWhicheverControlHasFocusAndIsNotConsumed()
    {
        PanelRig rig;
        pressKey(rig, Qt::ControlModifier);
        doubleClickPicture(rig);
        auto *box = rig.form.control<QLineEdit>("Text1");
        box->setText("abc");
        QTest::keyClick(box, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(rig.form.viewHeight(), 7200);
    }

    void sendTransmitsTheTextAsTypedWithLongReplyTiming()
    {
        PanelRig rig;
        rig.form.control<QLineEdit>("Text1")->setText("cr0 x");
        rig.click("Command95");
        QCOMPARE(rig.port.written, QList<QByteArray>{"cr0 x\r"});
        QCOMPARE(rig.interval(2), 2000);
        QCOMPARE(rig.interval(4), 2500);
        QCOMPARE(rig.form.control<QLineEdit>("Text1")->text(), QStringLiteral("cr0 x"));
    }

    void typedQueriesDecodeOnlyWhenExact_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("status");
        QTest::newRow("CR0") << "CR0"
                             << " Power ON";
        QTest::newRow("cr0") << "cr0"
                             << "";
        QTest::newRow("CRA") << "CRA"
                             << " Video & Audio mute OFF";
    }
    void typedQueriesDecodeOnlyWhenExact()
    {
        QFETCH(QString, typed);
        QFETCH(QString, status);
        PanelRig rig;
        rig.form.control<QLineEdit>("Text1")->setText(typed);
        rig.click("Command95");
        rig.port.deliver("00\r");
        QCOMPARE(rig.line("Label22"), status);
    }

    void clsClearsTheBoxAndSendsNothing()
    {
        PanelRig rig;
        rig.form.control<QLineEdit>("Text1")->setText("C00");
        rig.click("Command96");
        QCOMPARE(rig.form.control<QLineEdit>("Text1")->text(), QString());
        QVERIFY(rig.port.written.isEmpty());
    }

    void comShowsPanelUntilTimer3()
    {
        PanelRig rig;
        rig.click("Command33");
        QVERIFY(rig.form.control("Frame8")->isVisible());
        rig.clock.advance(4999);
        QVERIFY(rig.form.control("Frame8")->isVisible());
        rig.clock.advance(1);
        QVERIFY(!rig.form.control("Frame8")->isVisible());
        QVERIFY(!rig.controller.timer(3).isActive());
    }

    void successfulPortChoiceHidesThePanel()
    {
        PanelRig rig;
        rig.click("Command33");
        rig.form.control<QRadioButton>("Option10")->click();
        QVERIFY(!rig.form.control("Frame8")->isVisible());
        QCOMPARE(rig.port.settings(), QStringLiteral("9600,N,8,1"));
    }

    void failedPortChoiceWarnsAndLeavesPanelShowing()
    {
        PanelRig rig;
        rig.port.makeMissing(2);
        rig.click("Command33");
        rig.form.control<QRadioButton>("Option2")->click();
        QCOMPARE(rig.warnings, QStringList{"port 2 missing"});
        QVERIFY(rig.form.control("Frame8")->isVisible());
        QVERIFY(rig.form.control<QRadioButton>("Option2")->isChecked());
        QCOMPARE(rig.port.portNumber(), 1);
    }
};

QTEST_MAIN(ViewsTest)
#include "test_views.moc"
