#include "command_table.h"
#include "fake_serial_port.h"
#include "fake_timers.h"
#include "form1.h"
#include "panel_controller.h"
#include "repeater.h"
#include "traffic_line.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// The window's handlers on a recording port and a stepped clock: which click, press, key and
// tick reaches which part, and what the window shows of it. The timing of the commands and of
// the exchange is tested on those parts themselves.
class PanelTest : public QObject {
    Q_OBJECT

    struct Rig {
        explicit Rig(bool portPresent = true)
            : controller(form, port, clock,
                         PanelHooks{[this](const QString &text) { warnings.append(text); },
                                    [this] {
                                        ++programEnds;
                                    }})
        {
            if (!portPresent)
                port.makeMissing(1);
            controller.load();
            form.show();
            port.written.clear();
        }
        QPushButton *button(const char *name) const { return form.control<QPushButton>(name); }
        QString line(const char *label) const { return form.control<TrafficLine>(label)->text(); }
        void click(const char *name) const { button(name)->click(); }
        void press(const char *name, Qt::MouseButton which = Qt::LeftButton) const
        {
            QTest::mousePress(button(name), which);
        }
        void release(const char *name, Qt::MouseButton which = Qt::LeftButton) const
        {
            QTest::mouseRelease(button(name), which);
        }
        void choosePort(const char *option) const
        {
            click("Command33");
            form.control<QRadioButton>(option)->click();
        }
        bool portPanelShown() const { return form.control("Frame8")->isVisible(); }

        FakeTimerService clock;
        FakeSerialPort port;
        Form1 form;
        QStringList warnings;
        int programEnds = 0;
        PanelController controller;
    };

private slots:
    // Every row of the command tables is a button of the window that sends its code, a
    // single-press one on its click and an adjuster on the press of any mouse button.
    void everyButtonSendsItsCode()
    {
        Rig rig;
        QList<QByteArray> expected;
        for (const CommandButton &command : commandButtons()) {
            rig.click(command.name);
            expected << QByteArray(command.code) + '\r';
        }
        for (const Adjuster &adjuster : adjusters()) {
            rig.press(adjuster.name, Qt::RightButton);
            rig.release(adjuster.name, Qt::RightButton);
            expected << QByteArray(adjuster.code) + '\r';
        }
        QCOMPARE(rig.port.written, expected);
        QVERIFY(expected.contains("CF FANMODE L1\r") && expected.contains("C3A\r"));
    }

    void aHoldEndsWhenItsReleaseCanNoLongerCome_data()
    {
        QTest::addColumn<int>("event");
        QTest::newRow("released outside the button") << int(QEvent::MouseButtonRelease);
        QTest::newRow("window deactivated") << int(QEvent::WindowDeactivate);
        QTest::newRow("a modal box blocks the window") << int(QEvent::WindowBlocked);
        QTest::newRow("window hidden") << int(QEvent::Hide);
    }
    void aHoldEndsWhenItsReleaseCanNoLongerCome()
    {
        QFETCH(int, event);
        Rig rig;
        rig.press("Command48"); // D.Zoom +
        if (event == QEvent::MouseButtonRelease) {
            QTest::mouseRelease(rig.button("Command48"), Qt::LeftButton, {}, QPoint(-50, -50));
        } else if (event == QEvent::Hide) {
            rig.form.hide();
        } else {
            QEvent lost{QEvent::Type(event)};
            QApplication::sendEvent(&rig.form, &lost);
        }
        rig.clock.advance(1000);
        QCOMPARE(rig.port.written.size(), 1);
        QCOMPARE(rig.controller.repeater().arrowMode(), 3); // as a release would
    }

    void theKeyboardNeverStartsAHold()
    {
        Rig rig;
        QTest::keyClick(rig.button("Command1"), Qt::Key_Space);
        QTest::keyClick(rig.button("Command1"), Qt::Key_Return);
        rig.clock.advance(1000);
        QVERIFY(rig.port.written.isEmpty());
    }

    // As typed, with the long-reply timing; a character beyond Latin-1 goes out as "?".
    void sendTransmitsTheTypedTextAndClsOnlyClearsTheBox()
    {
        Rig rig;
        auto *box = rig.form.control<QLineEdit>("Text1");
        const QString typed = QStringLiteral("cr0 \u00e9\u30c7");
        box->setText(typed);
        rig.click("Command95");
        QCOMPARE(rig.port.written, QList<QByteArray>{"cr0 \xe9?\r"});
        QCOMPARE(box->text(), typed);
        QCOMPARE(rig.controller.timer(2).interval(), 2000);
        rig.click("Command96");
        QCOMPARE(box->text(), QString());
        QCOMPARE(rig.port.written.size(), 1);
    }

    void comShowsThePortPanelForFiveSecondsCountedAfreshByTheDataToggle()
    {
        Rig rig;
        rig.click("Command33");
        rig.clock.advance(4000);
        rig.click("Command34");
        rig.clock.advance(4999);
        QVERIFY(rig.portPanelShown());
        rig.clock.advance(1);
        QVERIFY(!rig.portPanelShown());
    }

    void endClosesThePortAndEndsWithoutSending()
    {
        Rig rig;
        rig.press("Command1");
        rig.click("Command16");
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.programEnds, 1);
        rig.clock.advance(1000);
        QCOMPARE(rig.port.written.size(), 1);
    }

    // A closed port, a refused write or a lost link: nothing is written, the lines still show
    // the send, a hold stops, the user is told once until the port is open again.
    void portTroubleIsToldOncePerEpisode()
    {
        Rig rig;
        rig.port.close();
        rig.click("Command44");
        rig.click("Command17");
        QCOMPARE(rig.line("Label11"), QStringLiteral(" C 0 0 CR "));
        QCOMPARE(rig.warnings.size(), 1);
        QVERIFY(rig.warnings[0].contains("/dev/fake1") && rig.warnings[0].contains("\"COM\""));
        rig.choosePort("Option1");
        rig.port.failWrites = true;
        rig.press("Command15"); // Brightness +
        QVERIFY(!rig.controller.repeater().isHolding());
        rig.click("Command17");
        QCOMPARE(rig.warnings.size(), 2);
        QVERIFY(rig.port.written.isEmpty());

        Rig missing(false);
        missing.click("Command17");
        QCOMPARE(missing.warnings, QStringList{"port 1 missing"}); // told at start-up
    }

    void aLostLinkStopsTheHoldAndTheDevicesReturnReconnects()
    {
        Rig rig;
        rig.press("Command1");
        rig.port.loseLink("lost");
        QVERIFY(!rig.controller.repeater().isHolding());
        rig.click("Command17");
        QCOMPARE(rig.warnings.size(), 1);
        QVERIFY(rig.warnings[0].startsWith("lost"));
        QVERIFY(rig.warnings[0].contains("reconnects by itself"));
        emit rig.port.deviceReturned();
        QVERIFY(rig.port.isOpen());
        rig.click("Command17");
        QCOMPARE(rig.port.written, (QList<QByteArray>{"C09\r", "C00\r"}));
        rig.port.loseLink("refused", false); // a server that will not be retried
        QCOMPARE(rig.warnings.size(), 2);
        QVERIFY(!rig.warnings[1].contains("by itself"));
        QVERIFY(rig.warnings[1].contains("\"COM\""));
    }
};

QTEST_MAIN(PanelTest)
#include "test_panel.moc"
