#include "pty_fixture.h"
#include "qt_serial_port.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// A lost link: the device goes away while the port is open. The port reaches its device
// through a symbolic link here, as a udev name reaches a USB adapter, so a test can take the
// device away and bring another one back under the same name.
class SerialLinkLossTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void aVanishedDeviceIsReportedOnceAndItsReturnAnnounced();
    void anExplicitCloseIsNoLossAndEndsTheWatching();
    void reopeningAfterAReturnTalksToTheNewDevice();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString linkPath(const char *name) const { return m_dir->filePath(QLatin1String(name)); }
};

void SerialLinkLossTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qunsetenv("ZRA70_COM1");
    qunsetenv("ZRA70_COM2");
}

void SerialLinkLossTest::cleanup()
{
    m_dir.reset();
    qunsetenv("ZRA70_COM1");
    qunsetenv("ZRA70_COM2");
}

void SerialLinkLossTest::aVanishedDeviceIsReportedOnceAndItsReturnAnnounced()
{
    PseudoTerminal first;
    ZRA70_OPEN_PTY(first);
    const QString link = linkPath("com1");
    QVERIFY(QFile::link(first.slavePath(), link));
    qputenv("ZRA70_COM1", link.toLocal8Bit());
    QtSerialPort port;
    QVERIFY(port.open());
    QSignalSpy lost(&port, &SerialPort::linkLost);
    QSignalSpy events(&port, &SerialPort::commEvent);
    QSignalSpy returned(&port, &SerialPort::deviceReturned);

    QVERIFY(QFile::remove(link));

    QVERIFY(lost.wait(5000));
    QCOMPARE(lost.first().first().toString(),
             QStringLiteral("The connection on serial port 1 was lost: the device %1 went away.")
                 .arg(link));
    QVERIFY(!port.isOpen());
    QCOMPARE(events.size(), 1);
    QCOMPARE(events.first().first().toInt(), 1011);
    QCOMPARE(returned.size(), 0);

    PseudoTerminal second;
    ZRA70_OPEN_PTY(second);
    QVERIFY(QFile::link(second.slavePath(), link));

    QVERIFY(returned.wait(5000));
    QCOMPARE(returned.size(), 1);
    QCOMPARE(lost.size(), 1);
    QCOMPARE(events.size(), 1);
    QVERIFY(!port.isOpen());
}

void SerialLinkLossTest::anExplicitCloseIsNoLossAndEndsTheWatching()
{
    // Two ports, each on its own device: the one left open, losing its device and seeing it
    // come back, takes at least one whole check period, in which the closed one must stay
    // silent although its device is gone as well.
    PseudoTerminal closedDevice;
    PseudoTerminal openDevice;
    ZRA70_OPEN_PTY(closedDevice);
    ZRA70_OPEN_PTY(openDevice);
    const QString closedLink = linkPath("com1");
    const QString openLink = linkPath("com2");
    QVERIFY(QFile::link(closedDevice.slavePath(), closedLink));
    QVERIFY(QFile::link(openDevice.slavePath(), openLink));
    qputenv("ZRA70_COM1", closedLink.toLocal8Bit());
    qputenv("ZRA70_COM2", openLink.toLocal8Bit());
    QtSerialPort closedPort;
    QtSerialPort openPort;
    QVERIFY(openPort.setPortNumber(2));
    QVERIFY(closedPort.open());
    QVERIFY(openPort.open());
    QSignalSpy closedLost(&closedPort, &SerialPort::linkLost);
    QSignalSpy closedEvents(&closedPort, &SerialPort::commEvent);
    QSignalSpy closedReturned(&closedPort, &SerialPort::deviceReturned);
    QSignalSpy openLost(&openPort, &SerialPort::linkLost);
    QSignalSpy openReturned(&openPort, &SerialPort::deviceReturned);

    QVERIFY(closedPort.close());
    QVERIFY(QFile::remove(closedLink));
    QVERIFY(QFile::remove(openLink));
    QVERIFY(openLost.wait(5000));
    QVERIFY(QFile::link(openDevice.slavePath(), openLink));
    QVERIFY(openReturned.wait(5000));

    QCOMPARE(closedLost.size(), 0);
    QCOMPARE(closedEvents.size(), 0);
    QCOMPARE(closedReturned.size(), 0);
    QVERIFY(!closedPort.isOpen());
}

void SerialLinkLossTest::reopeningAfterAReturnTalksToTheNewDevice()
{
    auto first = std::make_unique<PseudoTerminal>();
    ZRA70_OPEN_PTY(*first);
    const QString link = linkPath("com1");
    QVERIFY(QFile::link(first->slavePath(), link));
    qputenv("ZRA70_COM1", link.toLocal8Bit());
    QtSerialPort port;
    QVERIFY(port.setSettings(QStringLiteral("9600,N,8,1")));
    QVERIFY(port.open());
    QSignalSpy lost(&port, &SerialPort::linkLost);
    QSignalSpy returned(&port, &SerialPort::deviceReturned);
    first->close();
    QVERIFY(lost.wait(5000));
    PseudoTerminal second;
    ZRA70_OPEN_PTY(second);
    LineObserver secondLine(second.slavePath());
    QVERIFY(secondLine.isValid());
    QVERIFY(QFile::remove(link));
    QVERIFY(QFile::link(second.slavePath(), link));
    QVERIFY(returned.wait(5000));

    const PortStatus reopened = port.open();

    QVERIFY2(reopened, qPrintable(reopened.description()));
    QVERIFY(port.write(QByteArray("CR0\r")));
    QByteArray line;
    QTRY_COMPARE_WITH_TIMEOUT(line += drainMaster(second), QByteArray("CR0\r"), 5000);
    const termios tio = secondLine.settings();
    QCOMPARE(uint(cfgetospeed(&tio)), uint(B9600));

    // The new opening is watched like the first: its loss is reported too.
    QVERIFY(QFile::remove(link));
    QVERIFY(lost.wait(5000));
    QCOMPARE(lost.size(), 2);
}

QTEST_GUILESS_MAIN(SerialLinkLossTest)
#include "tst_serial_link_loss.moc"
