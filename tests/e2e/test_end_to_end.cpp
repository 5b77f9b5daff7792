#include "command_table.h"
#include "form1.h"
#include "panel_controller.h"
#include "projector_simulator.h"
#include "qt_serial_port.h"
#include "qt_timer_service.h"
#include "traffic_line.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// The real panel on real time, over a pseudo-terminal, against the projector simulator.
class EndToEndTest : public QObject {
    Q_OBJECT

    struct Rig {
        explicit Rig(SimulatorOptions options = {})
            : simulator(options)
        {
            QString error;
            started = simulator.start(&error);
            if (!started)
                qWarning("simulator: %s", qPrintable(error));
            qputenv("ZRA70_COM1", simulator.devicePath().toLocal8Bit());
            controller = std::make_unique<PanelController>(
                form, port, timers,
                PanelHooks{[this](const QString &text) { warnings.append(text); },
                           [this] {
                               ++programEnds;
                           }});
            controller->load();
            form.show();
        }
        QString line(const char *name) const { return form.control<TrafficLine>(name)->text(); }

        ProjectorSimulator simulator;
        bool started = false;
        QtTimerService timers;
        QtSerialPort port;
        Form1 form;
        QStringList warnings;
        int programEnds = 0;
        std::unique_ptr<PanelController> controller;
    };

private slots:
    void everyButtonsBytesArriveWholeAndInOrder()
    {
        Rig rig;
        QVERIFY(rig.started);
        QVERIFY2(rig.warnings.isEmpty(), qPrintable(rig.warnings.join('\n')));
        QByteArray expected;
        for (const CommandButton &button : commandButtons()) {
            rig.form.control<QPushButton>(button.name)->click();
            expected += QByteArray(button.code) + '\r';
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig.simulator.rawBytesReceived(), expected, 10000);
        QCOMPARE(rig.simulator.received().size(), qsizetype(commandButtons().size()));
    }

    void statusQueryIsAnsweredAndDecoded()
    {
        Rig rig;
        QVERIFY(rig.started);
        rig.form.control<QPushButton>("Command47")->click(); // SETTING
        QTRY_COMPARE_WITH_TIMEOUT(rig.line("Label12"), QStringLiteral(" 1 1 CR "), 2000);
        QCOMPARE(rig.line("Label22"), QStringLiteral(" Normally"));
        // The display clear blanks all three lines on real time.
        QTRY_COMPARE_WITH_TIMEOUT(rig.line("Label22"), QString(), 3000);
        QCOMPARE(rig.line("Label11"), QString());
    }

    void missingReplyIsMarked()
    {
        SimulatorOptions silent;
        silent.noReply = true;
        Rig rig(silent);
        QVERIFY(rig.started);
        rig.form.control<QPushButton>("Command44")->click();
        QTRY_COMPARE_WITH_TIMEOUT(rig.line("Label12"), QStringLiteral(" X X X X"), 2000);
    }

    void heldVolumeRepeatsOnRealTime()
    {
        Rig rig;
        QVERIFY(rig.started);
        auto *plus = rig.form.control<QPushButton>("Command1");
        QTest::mousePress(plus, Qt::LeftButton);
        QTest::qWait(1100);
        QTest::mouseRelease(plus, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(rig.simulator.received().size(), 5, 2000);
        for (const auto &received : rig.simulator.received())
            QCOMPARE(received.command, QByteArray("C09"));
    }

    void endClosesThePortWithoutSending()
    {
        Rig rig;
        QVERIFY(rig.started);
        rig.form.control<QPushButton>("Command16")->click();
        QCOMPARE(rig.programEnds, 1);
        QVERIFY(!rig.port.isOpen());
        QTest::qWait(100);
        QVERIFY(rig.simulator.rawBytesReceived().isEmpty());
    }
};

QTEST_MAIN(EndToEndTest)
#include "test_end_to_end.moc"
