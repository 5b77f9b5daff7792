#include "line_end.h"
#include "pseudo_terminal.h"
#include "qt_serial_port.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <termios.h>

// The port on real devices: a pseudo-terminal stands in for each serial line, its master end
// playing the projector. Ports reach their devices through symbolic links, as a udev name
// reaches a USB adapter, so a test can take a device away and bring another back.
class SerialPortTest : public QObject {
    Q_OBJECT

    // A pseudo-terminal mapped to serial port `number`, with the projector's end of the line
    // and an observer of the line settings (opened before the port takes the device).
    struct Line {
        Line(const QTemporaryDir &dir, int number)
            : link(dir.filePath(QStringLiteral("com%1").arg(number)))
        {
            if (!pty.open() || !QFile::link(pty.slavePath(), link))
                qFatal("no pseudo-terminal");
            qputenv(QByteArray("ZRA70_COM") + QByteArray::number(number), link.toLocal8Bit());
            projector = std::make_unique<LineEnd>(pty.masterFd());
            observer = std::make_unique<LineEnd>(pty.slavePath());
        }
        QString link;
        PseudoTerminal pty;
        std::unique_ptr<LineEnd> projector;
        std::unique_ptr<LineEnd> observer;
    };
    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void commandsGoOutAsTheirBytesAndRepliesRaiseTheReceiveEvent()
    {
        Line line(*m_dir, 1);
        QtSerialPort port;
        QVERIFY(port.setSettings("19200,N,8,1"));
        const PortStatus opened = port.open();
        QVERIFY2(opened, qPrintable(opened.description()));
        QVERIFY(port.write("C00\r") && port.write("CR0\r"));
        QCOMPARE(line.projector->read(8), QByteArray("C00\rCR0\r"));

        QSignalSpy events(&port, &SerialPort::commEvent);
        QVERIFY(line.projector->write("00\r"));
        QVERIFY(events.wait(5000));
        QCOMPARE(events.first().first().toInt(), int(SerialPort::Receive));
        QByteArray reply;
        QTRY_COMPARE_WITH_TIMEOUT(reply += port.readAll(), QByteArray("00\r"), 5000);

        const termios tio = line.observer->settings();
        QCOMPARE(cfgetospeed(&tio), speed_t(B19200));
        // One stop bit, no flow control, no translation of the carriage return ending a command.
        QCOMPARE(tio.c_cflag & (CSTOPB | CRTSCTS), 0u);
        QCOMPARE(tio.c_iflag & (IXON | IXOFF | ICRNL | IGNCR | INLCR), 0u);
        QCOMPARE(tio.c_oflag & OPOST, 0u);
    }

    // Commands written while nobody reads wait in the port and follow in order, never
    // overtaken by a later command written straight to the device.
    void commandsBeyondWhatTheLineHoldsArriveWholeAndInOrder()
    {
        Line line(*m_dir, 1);
        QtSerialPort port;
        QVERIFY(port.open());
        QByteArray sent;
        for (int i = 0; i < 20000; ++i) {
            const QByteArray command = 'C' + QByteArray::number(i) + '\r';
            QVERIFY(port.write(command));
            sent += command;
        }
        QByteArray arrived = line.projector->readAvailable(); // the device has room again
        QVERIFY(port.write("CEND\r"));
        sent += "CEND\r";
        arrived += line.projector->read(sent.size() - arrived.size());
        QCOMPARE(arrived, sent);
    }

    // Settings apply to the open port at once, bad ones change nothing; they stay with the
    // port across close, renumber and reopen.
    void settingsApplyAtOnceAndFollowThePortToTheOtherDevice()
    {
        Line first(*m_dir, 1);
        Line second(*m_dir, 2);
        QtSerialPort port;
        QVERIFY(port.setSettings("19200,N,8,1") && port.open());
        QVERIFY(port.setSettings("9600,N,8,1"));
        QCOMPARE(first.observer->outputSpeed(), speed_t(B9600));
        QVERIFY(!port.setSettings("19200,N,8"));
        QCOMPARE(port.settings(), QStringLiteral("9600,N,8,1"));
        QCOMPARE(first.observer->outputSpeed(), speed_t(B9600));
        QVERIFY(!port.setPortNumber(2)); // not while open
        QVERIFY(port.close());
        QVERIFY(port.setPortNumber(2) && port.open());
        QCOMPARE(port.deviceName(), second.link);
        QCOMPARE(second.observer->outputSpeed(), speed_t(B9600));
        QVERIFY(port.write("C0B\r"));
        QCOMPARE(second.projector->read(4), QByteArray("C0B\r"));
        QCOMPARE(first.projector->readAvailable(), QByteArray());
    }

    // Noticed within the half-second device check, reported once, and the device that comes
    // back under the same name is announced, reopened and watched in its turn.
    void aVanishedDeviceIsReportedOnceAndItsReturnAnnounced()
    {
        auto line = std::make_unique<Line>(*m_dir, 1);
        QtSerialPort port;
        QVERIFY(port.setSettings("9600,N,8,1") && port.open());
        QSignalSpy lost(&port, &SerialPort::linkLost);
        QSignalSpy events(&port, &SerialPort::commEvent);
        QSignalSpy returned(&port, &SerialPort::deviceReturned);
        QVERIFY(QFile::remove(line->link));
        QVERIFY(lost.wait(1500));
        QVERIFY(lost.first().first().toString().contains(line->link + " went away"));
        QVERIFY(!port.isOpen());
        QCOMPARE(events, QList<QVariantList>{{int(SerialPort::EventDeviceError)}});

        line = std::make_unique<Line>(*m_dir, 1);
        QVERIFY(returned.wait(5000));
        QVERIFY(port.open());
        QVERIFY(port.write("CR0\r"));
        QCOMPARE(line->projector->read(4), QByteArray("CR0\r"));
        QCOMPARE(line->observer->outputSpeed(), speed_t(B9600));
        QVERIFY(QFile::remove(line->link));
        QVERIFY(lost.wait(1500));
        QCOMPARE(lost.size(), 2);
    }
};

QTEST_GUILESS_MAIN(SerialPortTest)
#include "test_serial_port.moc"
