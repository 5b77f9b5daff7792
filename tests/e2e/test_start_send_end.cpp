#include "form1.h"
#include "panel_controller.h"
#include "projector_simulator.h"
#include "qt_serial_port.h"
#include "qt_timer_service.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

// A whole run as the program makes it: start, some sends, END leaving the event loop.
// Built with the sanitizers, this run must leave no leak behind.
class StartSendEndTest : public QObject {
    Q_OBJECT
private slots:
    void endLeavesTheEventLoopWithThePortClosed()
    {
        ProjectorSimulator simulator;
        QVERIFY(simulator.start());
        qputenv("ZRA70_COM1", simulator.devicePath().toLocal8Bit());

        auto timers = std::make_unique<QtTimerService>();
        auto port = std::make_unique<QtSerialPort>();
        auto form = std::make_unique<Form1>();
        auto controller = std::make_unique<PanelController>(*form, *port, *timers);
        controller->load();
        form->show();
        QVERIFY(port->isOpen());

        QTimer::singleShot(0, [&] {
            form->control<QPushButton>("Command17")->click();
            form->control<QPushButton>("Command44")->click();
            QTest::mousePress(form->control<QPushButton>("Command50"), Qt::LeftButton);
        });
        QTimer::singleShot(600, [&] {
            QTest::mouseRelease(form->control<QPushButton>("Command50"), Qt::LeftButton);
            form->control<QPushButton>("Command16")->click(); // END
        });
        const int exitCode = QApplication::exec();
        QCOMPARE(exitCode, 0);
        QVERIFY(!port->isOpen());
        QCOMPARE(simulator.received().first().command, QByteArray("C00"));
        QVERIFY(simulator.received().size() >= 4);

        controller.reset();
        form.reset();
        port.reset();
        timers.reset();
    }
};

QTEST_MAIN(StartSendEndTest)
#include "test_start_send_end.moc"
