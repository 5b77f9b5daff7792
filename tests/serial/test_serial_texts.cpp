#include "device_map.h"
#include "line_settings.h"
#include "port_errors.h"
#include "serial_trace.h"

#include <QTest>

// The serial layer's pure parts: the settings text, which device a port opens, and the
// texts that tell a person what went wrong.
class SerialTextsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        qunsetenv("ZRA70_COM1");
        qunsetenv("ZRA70_COM2");
    }

    void settingsTextsAreRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<LineSettings>("settings");
        using S = QSerialPort;
        QTest::newRow("the panel's own")
            << "19200,N,8,1" << LineSettings{19200, S::NoParity, S::Data8, S::OneStop};
        QTest::newRow("the other speed")
            << "9600,N,8,1" << LineSettings{9600, S::NoParity, S::Data8, S::OneStop};
        QTest::newRow("lower-case parity, 7 data, 2 stop")
            << "4800,e,7,2" << LineSettings{4800, S::EvenParity, S::Data7, S::TwoStop};
        QTest::newRow("space parity, 1.5 stop")
            << "110,S,6,1.5" << LineSettings{110, S::SpaceParity, S::Data6, S::OneAndHalfStop};
    }
    void settingsTextsAreRead()
    {
        QFETCH(QString, text);
        QFETCH(LineSettings, settings);
        QCOMPARE(parseLineSettings(text, nullptr), std::optional(settings));
    }

    // The description quotes the text, blanks and other characters shown as "?", and names
    // the part at fault.
    void malformedSettingsAreRefusedSayingWhy_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        const std::pair<QString, QString> rows[] = {
            {"", "are empty"},
            {"19200, N,8,1", "\"19200,?N,8,1\" contain a blank"},
            {QString(41, '9'), "too long (41 characters)"},
            {"19200,N,8", "must have four parts"},
            {"99999999,N,8,1", "speed"},
            {"9600,X,8,1", "parity"},
            {"9600,N,9,1", "data bits"},
            {"9600,N,8,3", "stop bits"},
        };
        for (const auto &[text, named] : rows)
            QTest::newRow(qPrintable(named)) << text << named;
    }
    void malformedSettingsAreRefusedSayingWhy()
    {
        QFETCH(QString, text);
        QFETCH(QString, named);
        QString error;
        QVERIFY(!parseLineSettings(text, &error));
        QVERIFY2(error.contains(named), qPrintable(error));
    }

    void eachPortOpensTheDeviceItsVariableNames_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("com1");
        QTest::addColumn<QByteArray>("com2");
        QTest::addColumn<QString>("device");
        QTest::newRow("port 1 unset") << 1 << QByteArray() << QByteArray("/dev/x") << "/dev/ttyS0";
        QTest::newRow("port 2 unset") << 2 << QByteArray() << QByteArray() << "/dev/ttyS1";
        QTest::newRow("port 2 set")
            << 2 << QByteArray() << QByteArray("/dev/ttyUSB3") << "/dev/ttyUSB3";
        QTest::newRow("bare name") << 1 << QByteArray("ttyUSB0") << QByteArray() << "/dev/ttyUSB0";
        QTest::newRow("no port 3") << 3 << QByteArray("/dev/x") << QByteArray("/dev/x") << "";
    }
    void eachPortOpensTheDeviceItsVariableNames()
    {
        QFETCH(int, number);
        QFETCH(QByteArray, com1);
        QFETCH(QByteArray, com2);
        QFETCH(QString, device);
        qputenv("ZRA70_COM1", com1);
        qputenv("ZRA70_COM2", com2);
        QCOMPARE(devicePathForPort(number), device);
    }

    // Each text names the port, the device and what to do; a device path is the user's text,
    // so a "%1" in it stays as it is.
    void failuresAreDescribedForAPerson_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QStringList>("naming");
        const auto open = [](OpenFailureKind kind, int number, const char *group = "") {
            return describeOpenFailure(
                {kind, number, "/dev/tty%1", group, 0, {}, QStringLiteral("Input/output error")});
        };
        QTest::newRow("not found") << open(OpenFailureKind::NotFound, 2)
                                   << QStringList{"Serial port 2 cannot be opened",
                                                  "/dev/tty%1 was not found", "ZRA70_COM2"};
        QTest::newRow("permission, group known")
            << open(OpenFailureKind::PermissionDenied, 1, "dialout")
            << QStringList{"/dev/tty%1 was denied", "\"dialout\"",
                           "sudo usermod -aG dialout $USER"};
        QTest::newRow("permission, no group")
            << open(OpenFailureKind::PermissionDenied, 1)
            << QStringList{"/dev/tty%1 was denied", "Ask for read and write access"};
        QTest::newRow("other") << open(OpenFailureKind::Other, 1)
                               << QStringList{"/dev/tty%1 reported \"Input/output error\""};
        QTest::newRow("link failed")
            << describeLinkLoss(1, "/dev/ttyUSB0", "EIO")
            << QStringList{"serial port 1 was lost", "/dev/ttyUSB0 reported \"EIO\""};
    }
    void failuresAreDescribedForAPerson()
    {
        QFETCH(QString, description);
        QFETCH(QStringList, naming);
        for (const QString &part : naming)
            QVERIFY2(description.contains(part), qPrintable(description));
    }

    void traceLinesStampDirectionDeviceAndHexBytes()
    {
        QCOMPARE(traceLine(std::chrono::nanoseconds(1234'000'120'999), TraceDirection::Sent,
                           "/dev/ttyS0", "C00\r"),
                 QStringLiteral("1234.000120 TX /dev/ttyS0 43 30 30 0d"));
        QCOMPARE(traceLine(std::chrono::seconds(7), TraceDirection::Received, "/dev/ttyS0", "\x06"),
                 QStringLiteral("7.000000 RX /dev/ttyS0 06"));
    }
};

QTEST_GUILESS_MAIN(SerialTextsTest)
#include "test_serial_texts.moc"
