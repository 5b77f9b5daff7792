#include "command_table.h"
#include "fake_serial_port.h"
#include "fake_timers.h"
#include "form1.h"
#include "panel_controller.h"
#include "repeater.h"
#include "traffic_line.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// A path through the window, its actions one after another, and what the user then finds.
const struct Path {
    const char *name, *actions, *found;
} Paths[] = {
    {"Ctrl+H", "key Ctrl+H", "height=7200; toggle=CLOSE"},
    {"Ctrl+Shift+H", "key Ctrl+Shift+H", "height=5350; toggle=hidden"},
    {"Ctrl+Alt+H", "key Ctrl+Alt+H", "height=5350; toggle=hidden"},
    {"Ctrl+H, double click on the picture", "key Ctrl+H; dblclick Image1", "height=9100"},
    {"Ctrl+H in the command box", "key Ctrl+H; dblclick Image1; click Text1; key Ctrl+H",
     "height=7200"},
    {"the toggle clicked, then pressed by Space", "key Ctrl+H; click Command34; key Space",
     "height=6645; toggle=データを表示しない"},
    {"COM", "click Command33", "ports=shown"},
    // Shown for five seconds, counted afresh from a click on the data toggle.
    {"COM, 4 s, toggle, 4.999 s",
     "key Ctrl+H; click Command33; wait 4000; click Command34; wait 4999", "ports=shown"},
    {"COM, 4 s, toggle, 5 s", "key Ctrl+H; click Command33; wait 4000; click Command34; wait 5000",
     "ports=hidden"},
    {"9600, lying over COM", "click Command33; click Option10", "port=1 9600,N,8,1; ports=hidden"},
    {"19200", "click Command33; click Option10; click Command33; click Option9",
     "port=1 19200,N,8,1"},
    {"COM2", "click Command33; click Option2", "port=2 19200,N,8,1; ports=hidden"},
    {"COM1", "click Command33; click Option2; click Command33; click Option1",
     "port=1 19200,N,8,1"},
    {"END", "click Command16", "ended=1; port=1 closed"},
    // A hold ends on its release, or when the release can no longer come.
    {"released away from the adjuster", "press Command1; release Image1; wait 1000", "sent=C09"},
    {"window deactivated during a hold", "press Command1; deactivate; wait 1000", "sent=C09"},
    {"a modal box blocks the window", "press Command1; block; wait 1000", "sent=C09"},
    {"window hidden during a hold", "press Command1; hide; wait 1000", "sent=C09"},
    {"Space and Return on an adjuster", "key Tab; key Space; key Return; wait 1000", "sent="},
};

const QHash<QString, QTest::MouseAction> MouseActions{{"click", QTest::MouseClick},
                                                      {"dblclick", QTest::MouseDClick},
                                                      {"press", QTest::MousePress},
                                                      {"release", QTest::MouseRelease}};
const QHash<QString, Qt::MouseButton> MouseButtons{
    {"left", Qt::LeftButton}, {"right", Qt::RightButton}, {"middle", Qt::MiddleButton}};

} // namespace

// The window's handlers on a recording port and a stepped clock, driven as the user drives them:
// keys and mouse buttons at the window, which Qt hands to the control under the pointer or with
// the focus. The timing of the commands and of the exchange is tested on those parts themselves.
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
            QVERIFY(QTest::qWaitForWindowActive(&form));
            port.written.clear();
        }
        // Where the user points at a control: its centre, which must be in view.
        QPoint at(const QString &name) const
        {
            const QWidget *control = form.control(name);
            const QPoint centre = control->mapTo(&form, control->rect().center());
            if (!form.rect().contains(centre))
                qWarning() << name << "is out of view";
            return centre;
        }
        // Runs actions separated by "; ", each a verb and its arguments.
        void act(const QString &actions)
        {
            QWindow *window = form.windowHandle();
            for (const QString &action : actions.split(QStringLiteral("; "))) {
                const QStringList word = action.split(' ');
                const QString what = word.value(1);
                const Qt::MouseButton button = MouseButtons.value(word.value(2), Qt::LeftButton);
                if (MouseActions.contains(word[0]))
                    QTest::mouseEvent(MouseActions[word[0]], window, button, {}, at(what));
                else if (word[0] == "key")
                    QTest::keySequence(window, QKeySequence(what));
                else if (word[0] == "wait")
                    clock.advance(what.toInt());
                else if (word[0] == "deactivate") {
                    other.show();
                    QVERIFY(QTest::qWaitForWindowActive(&other));
                } else if (word[0] == "block")
                    (new QDialog(&form))->open();
                else if (word[0] == "hide")
                    form.hide();
                else
                    QFAIL(qPrintable("no such action: " + action));
            }
        }
        // What the user finds, by name: "height=7200", "sent=C09,C09" (each without its CR).
        QString found(const QString &name) const
        {
            const Form1::Controls &c = form.controls();
            QStringList sent;
            for (const QByteArray &bytes : port.written)
                sent << QString::fromLatin1(bytes).remove('\r');
            const QString open = port.isOpen() ? port.settings() : QStringLiteral("closed");
            return QHash<QString, QString>{
                {"height", QString::number(form.viewHeight())},
                {"toggle", c.Command34->isVisible() ? c.Command34->text() : "hidden"},
                {"ports", c.Frame8->isVisible() ? "shown" : "hidden"},
                {"port", QString::number(port.portNumber()) + ' ' + open},
                {"ended", QString::number(programEnds)},
                {"sent", sent.join(',')}}
                .value(name, QStringLiteral("(nothing called %1)").arg(name));
        }

        FakeTimerService clock;
        FakeSerialPort port;
        Form1 form;
        QWidget other;
        QStringList warnings;
        int programEnds = 0;
        PanelController controller;
    };

private slots:
    void everyPathReachesItsHandler_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("found");
        for (const Path &path : Paths)
            QTest::newRow(path.name)
                << QString::fromUtf8(path.actions) << QString::fromUtf8(path.found);
    }
    void everyPathReachesItsHandler()
    {
        QFETCH(QString, actions);
        QFETCH(QString, found);
        Rig rig;
        rig.act(actions);
        for (const QString &item : found.split(QStringLiteral("; "))) {
            const QString name = item.section('=', 0, 0);
            QCOMPARE(name + '=' + rig.found(name), item);
        }
    }

    // Every single-press row of the command table is a button of the window that sends its code.
    void everyButtonSendsItsCode()
    {
        Rig rig;
        rig.act(QStringLiteral("key Ctrl+H; dblclick Image1"));
        QStringList expected;
        for (const CommandButton &command : commandButtons()) {
            rig.act(QStringLiteral("click ") + command.name);
            expected << command.code;
        }
        QCOMPARE(rig.found("sent"), expected.join(','));
        QVERIFY(expected.contains("CF FANMODE L1"));
    }

    // Each adjuster, held by each mouse button: sent at once, repeated, stopped by the release.
    void everyAdjusterRepeatsWhileHeld_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("code");
        for (const Adjuster &adjuster : adjusters()) {
            for (const char *button : {"left", "right", "middle"})
                QTest::addRow("%s, %s", adjuster.description, button)
                    << adjuster.name << button << adjuster.code;
        }
    }
    void everyAdjusterRepeatsWhileHeld()
    {
        QFETCH(QString, name);
        QFETCH(QString, button);
        QFETCH(QString, code);
        Rig rig;
        rig.act(QStringLiteral("press %1 %2; wait 990").arg(name, button));
        const QStringList held = rig.found("sent").split(',');
        QCOMPARE_GE(held.size(), 2);
        QCOMPARE(held.count(code), held.size());
        rig.act(QStringLiteral("release %1 %2; wait 1000").arg(name, button));
        QCOMPARE(rig.found("sent"), held.join(','));
    }

    // As typed, with the long-reply timing; a character beyond Latin-1 goes out as "?".
    void sendTransmitsTheTypedTextAndClsOnlyClearsTheBox()
    {
        Rig rig;
        auto *box = rig.form.control<QLineEdit>("Text1");
        const QString typed = QStringLiteral("cr0 \u00e9\u30c7");
        box->setText(typed);
        rig.act(QStringLiteral("key Ctrl+H; dblclick Image1; click Command95"));
        QCOMPARE(rig.port.written, QList<QByteArray>{"cr0 \xe9?\r"});
        QCOMPARE(box->text(), typed);
        QCOMPARE(rig.controller.timer(2).interval(), 2000);
        rig.act(QStringLiteral("click Command96"));
        QCOMPARE(box->text(), QString());
        QCOMPARE(rig.port.written.size(), 1);
    }

    // A closed port, a refused write or a lost link: nothing is written, the lines still show
    // the send, a hold stops, the user is told once until the port is open again.
    void portTroubleIsToldOncePerEpisode()
    {
        Rig rig;
        rig.port.close();
        rig.act(QStringLiteral("click Command18; click Command17"));
        QCOMPARE(rig.form.controls().Label11->text(), QStringLiteral(" C 0 0 CR "));
        QCOMPARE(rig.warnings.size(), 1);
        QVERIFY(rig.warnings[0].contains("/dev/fake1") && rig.warnings[0].contains("\"COM\""));
        rig.act(QStringLiteral("click Command33; click Option1"));
        rig.port.failWrites = true;
        rig.act(QStringLiteral("press Command15")); // Brightness +
        QVERIFY(!rig.controller.repeater().isHolding());
        rig.act(QStringLiteral("release Command15; click Command17"));
        QCOMPARE(rig.warnings.size(), 2);
        QVERIFY(rig.port.written.isEmpty());

        Rig missing(false);
        missing.act(QStringLiteral("click Command17"));
        QCOMPARE(missing.warnings, QStringList{"port 1 missing"}); // told at start-up
    }

    void aLostLinkStopsTheHoldAndTheDevicesReturnReconnects()
    {
        Rig rig;
        rig.act(QStringLiteral("press Command1"));
        rig.port.loseLink("lost");
        QVERIFY(!rig.controller.repeater().isHolding());
        rig.act(QStringLiteral("release Command1; click Command17"));
        QCOMPARE(rig.warnings.size(), 1);
        QVERIFY(rig.warnings[0].startsWith("lost"));
        QVERIFY(rig.warnings[0].contains("reconnects by itself"));
        emit rig.port.deviceReturned();
        QVERIFY(rig.port.isOpen());
        rig.act(QStringLiteral("click Command17"));
        QCOMPARE(rig.found("sent"), "C09,C00");
        rig.port.loseLink("refused", false); // a server that will not be retried
        QCOMPARE(rig.warnings.size(), 2);
        QVERIFY(!rig.warnings[1].contains("by itself"));
        QVERIFY(rig.warnings[1].contains("\"COM\""));
    }
};

QTEST_MAIN(PanelTest)
#include "test_panel.moc"
