#include "counting_port.h"
#include "form1.h"
#include "panel_controller.h"
#include "projector_simulator.h"
#include "qt_serial_port.h"
#include "qt_timer_service.h"
#include "repeater.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The real panel over a pseudo-terminal when the line is pushed: a long fast hold, and the
// device going away in the middle of a hold and coming back on the same path.
class LineTroubleTest : public QObject {
    Q_OBJECT

    struct Rig {
        explicit Rig(const QString &linkPath)
        {
            SimulatorOptions options;
            options.linkPath = linkPath;
            simulator = std::make_unique<ProjectorSimulator>(options);
            QString error;
            started = simulator->start(&error);
            if (!started)
                qWarning("simulator: %s", qPrintable(error));
            qputenv("ZRA70_COM1", linkPath.toLocal8Bit());
            controller = std::make_unique<PanelController>(
                form, port, timers,
                PanelHooks{[this](const QString &text) { warnings.append(text); },
                           [] {
                           }});
            controller->load();
            form.show();
        }
        QPushButton *button(const char *name) const { return form.control<QPushButton>(name); }

        QTemporaryDir dir;
        std::unique_ptr<ProjectorSimulator> simulator;
        bool started = false;
        QtTimerService timers;
        QtSerialPort realPort;
        CountingPort port{realPort};
        Form1 form;
        QStringList warnings;
        std::unique_ptr<PanelController> controller;
    };

private slots:
    void minuteLongFastArrowHoldLosesNothing()
    {
        QTemporaryDir dir;
        Rig rig(dir.filePath("com1"));
        QVERIFY(rig.started);
        QTest::mousePress(rig.button("Command48"), Qt::LeftButton); // D.Zoom +
        QTest::mouseRelease(rig.button("Command48"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(rig.simulator->received().size(), 1, 2000);

        QTest::mousePress(rig.button("Command8"), Qt::LeftButton); // the 5 ms arrow
        QTest::qWait(60'000);
        QTest::mouseRelease(rig.button("Command8"), Qt::LeftButton);

        const int written = rig.port.writes();
        QVERIFY2(written > 1000,
                 qPrintable(QString::number(written))); // the rate is measured in bench/
        QTRY_COMPARE_WITH_TIMEOUT(rig.simulator->received().size(), qsizetype(written), 5000);
        QByteArray expected = "C30\r";
        for (int i = 1; i < written; ++i)
            expected += "C3A\r";
        QCOMPARE(rig.simulator->rawBytesReceived(), expected);
        QVERIFY(rig.warnings.isEmpty());
    }

    void deviceGoingAwayMidHoldIsToldOnceAndReconnects()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath("com1");
        Rig rig(link);
        QVERIFY(rig.started);
        QTest::mousePress(rig.button("Command1"), Qt::LeftButton); // VOL +, every 250 ms
        QTRY_VERIFY_WITH_TIMEOUT(rig.simulator->received().size() >= 2, 2000);

        rig.simulator->stop();
        QTRY_COMPARE_WITH_TIMEOUT(rig.warnings.size(), 1, 3000);
        QVERIFY(rig.warnings[0].contains(link));
        QVERIFY(!rig.port.isOpen());
        QVERIFY(!rig.controller->repeater().isHolding());
        const int writesAtLoss = rig.port.writes();
        QTest::qWait(600);
        rig.button("Command17")->click(); // a send while lost: no second box, nothing written
        QCOMPARE(rig.port.writes(), writesAtLoss);
        QTest::mouseRelease(rig.button("Command1"), Qt::LeftButton);

        const qsizetype before = rig.simulator->received().size();
        QVERIFY(rig.simulator->start());
        QTRY_VERIFY_WITH_TIMEOUT(rig.port.isOpen(), 5000);
        rig.button("Command44")->click();
        QTRY_COMPARE_WITH_TIMEOUT(rig.simulator->received().size(), before + 1, 2000);
        QCOMPARE(rig.simulator->received().last().command, QByteArray("CR0"));
        QCOMPARE(rig.warnings.size(), 1);
    }
};

QTEST_MAIN(LineTroubleTest)
#include "test_line_trouble.moc"
