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
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

namespace {

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
        Rig()
            : controller(form, port, clock,
                         PanelHooks{[this](const QString &text) { warnings.append(text); },
                                    [this] {
                                        ++programEnds;
                                    }})
        {
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
                else if (word[0] == "type")
                    form.controls().Text1->setText(action.section(' ', 1));
                else if (word[0] == "wait")
                    clock.advance(what.toInt());
                else if (action == "deactivate") {
                    other.show();
                    QVERIFY(QTest::qWaitForWindowActive(&other));
                } else if (action == "block")
                    (new QDialog(&form))->open();
                else if (action == "hide")
                    form.hide();
                else if (action == "unplug")
                    port.close();
                else if (action == "refuse writes")
                    port.failWrites = true;
                else if (word[0] == "lose") // the link, "for good" when it will not be watched
                    port.loseLink(QStringLiteral("Lost."), !action.endsWith("for good"));
                else if (action == "device returns")
                    emit port.deviceReturned();
                else if (word[0] == "missing")
                    port.makeMissing(what.toInt());
                else if (word[0] == "present")
                    port.makePresent(what.toInt());
                else if (action == "restart") {
                    port.close();
                    controller.load();
                } else
                    QFAIL(qPrintable("no such action: " + action));
                heights << QString::number(form.viewHeight());
            }
        }
        // What the user finds, by name: "heights=5350 7200" the view's after each action,
        // "sent=C09,C09" (each without its CR), "told=" the warnings, their paragraphs joined by a
        // blank, the boxes by " | ".
        QString found(const QString &name) const
        {
            const Form1::Controls &c = form.controls();
            QStringList sent;
            for (const QByteArray &bytes : port.written)
                sent << QString::fromLatin1(bytes).remove('\r');
            const QString open = port.isOpen() ? port.settings() : QStringLiteral("closed");
            return QHash<QString, QString>{
                {"heights", heights.join(' ')},
                {"toggle", c.Command34->isVisible() ? c.Command34->text() : "hidden"},
                {"ports", c.Frame8->isVisible() ? "shown" : "hidden"},
                {"port", QString::number(port.portNumber()) + ' ' + open},
                {"COM1", c.Option1->isChecked() ? "marked" : "unmarked"},
                {"ended", QString::number(programEnds)},
                {"sent", sent.join(',')},
                {"TXD", c.Label11->text()},
                {"box", c.Text1->text()},
                {"holding", QString::number(controller.repeater().isHolding())},
                {"told", warnings.join(" | ").replace("\n\n", " ")}}
                .value(name, QStringLiteral("(nothing called %1)").arg(name));
        }

        FakeTimerService clock;
        FakeSerialPort port;
        Form1 form;
        QWidget other;
        QStringList warnings, heights;
        int programEnds = 0;
        PanelController controller;
    };

private slots:
    // A path through the window, its actions one after another, and what the user then finds.
    void everyPathReachesItsHandler_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("found");
        const auto path = [](const char *name, const char *actions, const char *found) {
            QTest::newRow(name) << QString::fromUtf8(actions) << QString::fromUtf8(found);
        };
        path("Ctrl+H", "key Ctrl+H", "heights=7200; toggle=CLOSE");
        path("Ctrl+Shift+H", "key Ctrl+Shift+H", "heights=5350; toggle=hidden");
        path("Ctrl+Alt+H", "key Ctrl+Alt+H", "heights=5350; toggle=hidden");
        path("Ctrl+H in the command box", "key Ctrl+H; dblclick Image1; click Text1; key Ctrl+H",
             "heights=7200 9100 9100 7200");
        path("the toggle clicked, then pressed by Space", "key Ctrl+H; click Command34; key Space",
             "heights=7200 5350 6645; toggle=データを表示しない");
        // Each of Ctrl+H, the double click and the toggle (by the keyboard where it is out of view)
        // from each view: compact at start, extended, full, compact and data after the toggle.
        path("every view input from every view",
             "dblclick Image1; key Ctrl+H; key Ctrl+H; dblclick Image1; dblclick Image1; "
             "key Ctrl+H; click Command34; dblclick Image1; key Space; dblclick Image1; "
             "key Ctrl+H; key Space; key Ctrl+H; dblclick Image1; key Space; key Space; key Space",
             "heights=5350 7200 7200 9100 9100 7200 5350 5350 6645 6645 7200 5350 7200 9100 5350 "
             "6645 5350; toggle=データを表示する");
        path("COM", "click Command33", "ports=shown; COM1=marked");
        // Shown for five seconds, counted afresh from a click on the data toggle.
        path("COM, 4 s, toggle, 4.999 s",
             "key Ctrl+H; click Command33; wait 4000; click Command34; wait 4999", "ports=shown");
        path("COM, 4 s, toggle, 5 s",
             "key Ctrl+H; click Command33; wait 4000; click Command34; wait 5000", "ports=hidden");
        path("9600, lying over COM", "click Command33; click Option10",
             "port=1 9600,N,8,1; ports=hidden");
        path("19200", "click Command33; click Option10; click Command33; click Option9",
             "port=1 19200,N,8,1");
        path("COM2", "click Command33; click Option2", "port=2 19200,N,8,1; ports=hidden");
        path("COM1", "click Command33; click Option2; click Command33; click Option1",
             "port=1 19200,N,8,1");
        // A failed choice keeps the old port and the options up; choosing again reconnects.
        path("COM2 missing", "missing 2; click Command33; click Option2",
             "told=port 2 missing; port=1 closed; ports=shown");
        path("COM2 chosen again once there",
             "missing 2; click Command33; click Option2; present 2; click Option2",
             "port=2 19200,N,8,1; ports=hidden");
        path("END", "click Command16", "ended=1; port=1 closed");
        // SEND as typed, one byte a character ("?" beyond Latin-1); CLS only clears the box.
        path("SEND", "key Ctrl+H; dblclick Image1; type cr0 éデ; click Command95",
             "sent=cr0 é?; box=cr0 éデ");
        path("CLS", "key Ctrl+H; dblclick Image1; type cr0; click Command96", "sent=; box=");
        // A hold ends on its release, or when the release can no longer come.
        path("released away from the adjuster", "press Command1; release Image1; wait 1000",
             "sent=C09");
        path("window deactivated during a hold", "press Command1; deactivate; wait 1000",
             "sent=C09");
        path("a modal box blocks the window", "press Command1; block; wait 1000", "sent=C09");
        path("window hidden during a hold", "press Command1; hide; wait 1000", "sent=C09");
        path("Space and Return on an adjuster", "key Tab; key Space; key Return; wait 1000",
             "sent=");
        // A port in trouble: nothing is written, the line still shows the send, a hold stops, the
        // user is told once until the port is open again.
        path("a closed port, then a refused write once the port is chosen again",
             "unplug; click Command18; click Command17; click Command33; click Option1; "
             "refuse writes; click Command18",
             "TXD= C 0 1 CR ; sent=; told=Nothing was sent: serial port 1 (/dev/fake1) is not "
             "open. Choose the port under \"COM\" to reconnect. | write failed Choose the port "
             "under \"COM\" to reconnect.");
        path("a refused write during a hold", "refuse writes; press Command15", "holding=0");
        path("a lost link during a hold, the device back, the link lost for good",
             "press Command1; lose link; device returns; wait 1000; release Command1; "
             "click Command17; lose link for good",
             "sent=C09,C00; told=Lost. The panel reconnects by itself when the device is back; "
             "choosing the port under \"COM\" also reconnects. | Lost. Choosing the port under "
             "\"COM\" tries again.");
        path("COM1 missing at start", "missing 1; restart; click Command17", "told=port 1 missing");
    }
    void everyPathReachesItsHandler()
    {
        QFETCH(QString, actions);
        QFETCH(QString, found);
        Rig rig;
        rig.act(actions);
        for (const QString &item : found.split(QRegularExpression("; (?=\\w+=)"))) {
            const QString name = item.section('=', 0, 0);
            QCOMPARE(name + '=' + rig.found(name), item);
        }
    }

    // Every single-press row of the command table is a button of the window that sends its code.
    // Every adjuster, held by one mouse button or another, sends at once, repeats while held and
    // stops at the release.
    void everyButtonAndAdjusterSendsItsCode()
    {
        Rig rig;
        rig.act(QStringLiteral("key Ctrl+H; dblclick Image1"));
        QStringList expected;
        for (const CommandButton &command : commandButtons()) {
            rig.act(QStringLiteral("click ") + command.name);
            expected << command.code;
        }
        QCOMPARE(rig.found("sent"), expected.join(','));
        for (int i = 0; const Adjuster &adjuster : adjusters()) {
            const QString hold = adjuster.name + QStringList{" left", " right", " middle"}[i++ % 3];
            rig.port.written.clear();
            rig.act("press " + hold + "; wait 990");
            const QStringList held = rig.found("sent").split(',');
            QVERIFY2(held.size() >= 2 && held.count(adjuster.code) == held.size(),
                     qPrintable(hold));
            rig.act("release " + hold + "; wait 1000");
            QCOMPARE(rig.found("sent"), held.join(','));
        }
    }
};

QTEST_MAIN(PanelTest)
#include "test_panel.moc"
