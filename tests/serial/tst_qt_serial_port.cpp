#include "pty_fixture.h"
#include "qt_serial_port.h"

#include <QSignalSpy>
#include <QTest>

// The port on a real device: pseudo-terminals stand in for the projector's serial line.
class QtSerialPortTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void aCommandArrivesAsExactlyItsBytes();
    void commandsBeyondWhatTheLineHoldsArriveWholeAndInOrder();
    void theLineRunsWithTheSettingsGiven_data();
    void theLineRunsWithTheSettingsGiven();
    void bytesFromTheLineRaiseTheReceiveEventAndAreReadWhole();
    void newSettingsApplyToTheOpenPortAtOnce();
    void numberAndSettingsStayAcrossCloseRenumberAndReopen();
    void malformedSettingsAreRefusedAndTheOldOnesKept();
    void renumberingAnOpenPortIsRefused();
    void aMissingDeviceIsNamedInTheFailure();
    void aSecondPortOnTheSameDeviceIsToldItIsInUse();
    void writingToAClosedPortFails();
};

void QtSerialPortTest::init()
{
    qunsetenv("ZRA70_COM1");
    qunsetenv("ZRA70_COM2");
}

void QtSerialPortTest::cleanup()
{
    init();
}

void QtSerialPortTest::aCommandArrivesAsExactlyItsBytes()
{
    PseudoTerminal projector;
    ZRA70_OPEN_PTY_AS_COM(projector, 1);
    QtSerialPort port;
    QVERIFY(port.setSettings(QStringLiteral("19200,N,8,1")));
    QVERIFY(port.setPortNumber(1));

    const PortStatus opened = port.open();
    QVERIFY2(opened, qPrintable(opened.description()));
    QVERIFY(port.isOpen());
    QVERIFY(port.write(QByteArray("C00\r")));
    QByteArray line;
    QTRY_COMPARE_WITH_TIMEOUT(line += drainMaster(projector), QByteArray("C00\r"), 5000);

    // A second command right behind proves nothing was added after the first.
    QVERIFY(port.write(QByteArray("CR0\r")));
    QTRY_COMPARE_WITH_TIMEOUT(line += drainMaster(projector), QByteArray("C00\rCR0\r"), 5000);
}

void QtSerialPortTest::commandsBeyondWhatTheLineHoldsArriveWholeAndInOrder()
{
    PseudoTerminal projector;
    ZRA70_OPEN_PTY_AS_COM(projector, 1);
    QtSerialPort port;
    QVERIFY(port.setPortNumber(1));
    QVERIFY(port.open());

    // Far more than the device buffers while nobody reads: the rest waits in the port and must
    // follow in order, never overtaken by a later command.
    QByteArray sent;
    for (int i = 0; i < 20000; ++i) {
        const QByteArray command = 'C' + QByteArray::number(i) + '\r';
        QVERIFY(port.write(command));
        sent += command;
    }
    // The device has room again while the port still holds the rest.
    QByteArray line = drainMaster(projector);
    QVERIFY(port.write(QByteArray("CEND\r")));
    sent += "CEND\r";
    QTRY_VERIFY_WITH_TIMEOUT((line += drainMaster(projector)).size() >= sent.size(), 10000);
    QCOMPARE(line, sent);
}

void QtSerialPortTest::theLineRunsWithTheSettingsGiven_data()
{
    // A pseudo-terminal keeps the speed and the stop bits it is given, but always reports
    // 8 data bits and no parity, so only the former can be watched here.
    QTest::addColumn<QString>("settings");
    QTest::addColumn<uint>("speed");
    QTest::addColumn<bool>("twoStopBits");

    QTest::newRow("start settings") << "19200,N,8,1" << uint(B19200) << false;
    QTest::newRow("two stop bits") << "4800,E,7,2" << uint(B4800) << true;
}

void QtSerialPortTest::theLineRunsWithTheSettingsGiven()
{
    QFETCH(QString, settings);
    QFETCH(uint, speed);
    QFETCH(bool, twoStopBits);

    PseudoTerminal projector;
    ZRA70_OPEN_PTY_AS_COM(projector, 1);
    LineObserver line(projector.slavePath());
    QVERIFY(line.isValid());
    QtSerialPort port;
    QVERIFY(port.setSettings(settings));
    QVERIFY(port.open());

    const termios tio = line.settings();
    QCOMPARE(uint(cfgetospeed(&tio)), speed);
    QCOMPARE(uint(cfgetispeed(&tio)), speed);
    QCOMPARE(bool(tio.c_cflag & CSTOPB), twoStopBits);
    // No flow control, and no translation of the carriage return that ends every command.
    QCOMPARE(uint(tio.c_cflag & CRTSCTS), 0u);
    QCOMPARE(uint(tio.c_iflag & (IXON | IXOFF | ICRNL | IGNCR | INLCR)), 0u);
    QCOMPARE(uint(tio.c_oflag & OPOST), 0u);
    QCOMPARE(uint(tio.c_lflag & (ICANON | ECHO)), 0u);
}

void QtSerialPortTest::bytesFromTheLineRaiseTheReceiveEventAndAreReadWhole()
{
    PseudoTerminal projector;
    ZRA70_OPEN_PTY_AS_COM(projector, 1);
    QtSerialPort port;
    QVERIFY(port.open());
    QSignalSpy events(&port, &SerialPort::commEvent);
    QByteArray received;
    connect(&port, &SerialPort::commEvent, &port, [&](int code) {
        if (code == SerialPort::Receive)
            received += port.readAll();
    });

    QVERIFY(writeMaster(projector, QByteArray("00\r")));

    QVERIFY(events.wait(5000));
    QCOMPARE(events.first().first().toInt(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(received, QByteArray("00\r"), 5000);
    QCOMPARE(port.readAll(), QByteArray());
}

void QtSerialPortTest::newSettingsApplyToTheOpenPortAtOnce()
{
    PseudoTerminal projector;
    ZRA70_OPEN_PTY_AS_COM(projector, 1);
    LineObserver line(projector.slavePath());
    QVERIFY(line.isValid());
    QtSerialPort port;
    QVERIFY(port.setSettings(QStringLiteral("19200,N,8,1")));
    QVERIFY(port.open());
    termios before = line.settings();
    QCOMPARE(uint(cfgetospeed(&before)), uint(B19200));

    const PortStatus changed = port.setSettings(QStringLiteral("9600,N,8,1"));

    QVERIFY2(changed, qPrintable(changed.description()));
    QVERIFY(port.isOpen());
    QCOMPARE(port.settings(), QStringLiteral("9600,N,8,1"));
    termios after = line.settings();
    QCOMPARE(uint(cfgetospeed(&after)), uint(B9600));
    QCOMPARE(uint(cfgetispeed(&after)), uint(B9600));
}

void QtSerialPortTest::numberAndSettingsStayAcrossCloseRenumberAndReopen()
{
    PseudoTerminal first;
    PseudoTerminal second;
    ZRA70_OPEN_PTY_AS_COM(first, 1);
    ZRA70_OPEN_PTY_AS_COM(second, 2);
    LineObserver secondLine(second.slavePath());
    QVERIFY(secondLine.isValid());
    QtSerialPort port;
    QVERIFY(port.setPortNumber(1));
    QVERIFY(port.setSettings(QStringLiteral("9600,N,8,1")));
    QVERIFY(port.open());
    QCOMPARE(port.deviceName(), first.slavePath());

    QVERIFY(port.close());
    QVERIFY(!port.isOpen());
    QVERIFY(port.setPortNumber(2));
    QVERIFY(port.open());

    QCOMPARE(port.portNumber(), 2);
    QCOMPARE(port.settings(), QStringLiteral("9600,N,8,1"));
    QCOMPARE(port.deviceName(), second.slavePath());
    const termios tio = secondLine.settings();
    QCOMPARE(uint(cfgetospeed(&tio)), uint(B9600));
    QVERIFY(port.write(QByteArray("C0B\r")));
    QByteArray line;
    QTRY_COMPARE_WITH_TIMEOUT(line += drainMaster(second), QByteArray("C0B\r"), 5000);
    QCOMPARE(drainMaster(first), QByteArray());
}

void QtSerialPortTest::malformedSettingsAreRefusedAndTheOldOnesKept()
{
    PseudoTerminal projector;
    ZRA70_OPEN_PTY_AS_COM(projector, 1);
    LineObserver line(projector.slavePath());
    QVERIFY(line.isValid());
    QtSerialPort port;
    QVERIFY(port.setSettings(QStringLiteral("19200,N,8,1")));
    QVERIFY(port.open());

    const PortStatus refused = port.setSettings(QStringLiteral("9600,N,8"));

    QVERIFY(!refused);
    QCOMPARE(port.settings(), QStringLiteral("19200,N,8,1"));
    const termios tio = line.settings();
    QCOMPARE(uint(cfgetospeed(&tio)), uint(B19200));
}

void QtSerialPortTest::renumberingAnOpenPortIsRefused()
{
    PseudoTerminal projector;
    ZRA70_OPEN_PTY_AS_COM(projector, 1);
    QtSerialPort port;
    QVERIFY(port.open());

    const PortStatus renumbered = port.setPortNumber(2);

    QCOMPARE(renumbered.description(),
             QStringLiteral("Serial port 1 is open: close it before choosing port 2."));
    QVERIFY(!renumbered);
    QCOMPARE(port.portNumber(), 1);
    QVERIFY(port.isOpen());
    QCOMPARE(port.deviceName(), projector.slavePath());
}

void QtSerialPortTest::aMissingDeviceIsNamedInTheFailure()
{
    qputenv("ZRA70_COM2", "/nonexistent-zra70/ttyUSB7");
    QtSerialPort port;
    QVERIFY(port.setPortNumber(2));

    const PortStatus opened = port.open();

    QVERIFY(!opened);
    QCOMPARE(opened.description(),
             QStringLiteral("Serial port 2 cannot be opened: the device /nonexistent-zra70/ttyUSB7 "
                            "was not found. Check that the serial adapter is connected, or set "
                            "ZRA70_COM2 to the device to use."));
    QVERIFY(!port.isOpen());
}

void QtSerialPortTest::aSecondPortOnTheSameDeviceIsToldItIsInUse()
{
    PseudoTerminal projector;
    ZRA70_OPEN_PTY_AS_COM(projector, 1);
    QtSerialPort holder;
    QVERIFY(holder.open());
    QtSerialPort latecomer;

    const PortStatus opened = latecomer.open();

    QVERIFY(!opened);
    QCOMPARE(opened.description(),
             QStringLiteral("Serial port 1 cannot be opened: %1 is in use by another program. "
                            "Close that program and try again.")
                 .arg(projector.slavePath()));
    QVERIFY(!latecomer.isOpen());
    QVERIFY(holder.isOpen());

    // Once the holder lets go, the device is free again.
    QVERIFY(holder.close());
    QVERIFY(latecomer.open());
}

void QtSerialPortTest::writingToAClosedPortFails()
{
    QtSerialPort port;

    const PortStatus written = port.write(QByteArray("C00\r"));

    QVERIFY(!written);
    QCOMPARE(
        written.description(),
        QStringLiteral("Nothing was sent: serial port 1 (%1) is not open.").arg(port.deviceName()));
}

QTEST_GUILESS_MAIN(QtSerialPortTest)
#include "tst_qt_serial_port.moc"
