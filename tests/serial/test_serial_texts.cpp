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
    // A text is read, or refused with a description that quotes it (blanks and other
    // characters shown as "?") and names the part at fault.
    void settingsTextsAreReadOrRefusedSayingWhy_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<LineSettings>("settings");
        QTest::addColumn<QString>("refusal"); // a part of the description; empty: read
        using S = QSerialPort;
        QTest::newRow("the panel's own")
            << "19200,N,8,1" << LineSettings{19200, S::NoParity, S::Data8, S::OneStop} << "";
        QTest::newRow("lower-case parity, 7 data, 2 stop")
            << "4800,e,7,2" << LineSettings{4800, S::EvenParity, S::Data7, S::TwoStop} << "";
        QTest::newRow("space parity, 1.5 stop")
            << "110,S,6,1.5" << LineSettings{110, S::SpaceParity, S::Data6, S::OneAndHalfStop}
            << "";
        const std::pair<QString, QString> refused[] = {
            {"", "are empty"},
            {"19200, N,8,1", "\"19200,?N,8,1\" contain a blank"},
            {QString(41, '9'), "too long (41 characters)"},
            {"19200,N,8", "must have four parts"},
            {"99999999,N,8,1", "speed"},
            {"9600,X,8,1", "parity"},
            {"9600,N,9,1", "data bits"},
            {"9600,N,8,3", "stop bits"},
        };
        for (const auto &[text, refusal] : refused)
            QTest::newRow(qPrintable(refusal)) << text << LineSettings{} << refusal;
    }
    void settingsTextsAreReadOrRefusedSayingWhy()
    {
        QFETCH(QString, text);
        QFETCH(LineSettings, settings);
        QFETCH(QString, refusal);
        QString error;
        QCOMPARE(parseLineSettings(text, &error),
                 refusal.isEmpty() ? std::optional(settings) : std::nullopt);
        QVERIFY2(error.contains(refusal), qPrintable(error));
    }

    void eachPortOpensTheDeviceItsVariableNames()
    {
        qputenv("ZRA70_COM2", "/dev/ttyUSB3");
        QCOMPARE(devicePathForPort(1), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(devicePathForPort(2), QStringLiteral("/dev/ttyUSB3"));
        QCOMPARE(devicePathForPort(3), QString());
        qputenv("ZRA70_COM1", "ttyUSB0"); // a bare name is one in /dev
        qunsetenv("ZRA70_COM2");
        QCOMPARE(devicePathForPort(1), QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(devicePathForPort(2), QStringLiteral("/dev/ttyS1"));
    }

    // Every text names the port and the device as given (a "%1" in a path is the user's text,
    // kept as it is), then says what to do.
    void failuresAreDescribedForAPerson()
    {
        using enum OpenFailureKind;
        const auto open = [](OpenFailureKind kind, const char *group = "") {
            return describeOpenFailure({kind, 2, "/dev/tty%1", group, 0, {}, "Input/output error"});
        };
        for (const QString &text : {open(NotFound), open(PermissionDenied),
                                    open(PermissionDenied, "dialout"), open(InUse), open(Other)})
            QVERIFY2(text.startsWith("Serial port 2 cannot be opened: ") &&
                         text.contains("/dev/tty%1 "),
                     qPrintable(text));
        QVERIFY(open(NotFound).contains("set ZRA70_COM2 to the device to use"));
        QVERIFY(open(PermissionDenied).contains("Ask for read and write access"));
        QVERIFY(open(PermissionDenied, "dialout")
                    .contains("\"dialout\": join that group (sudo usermod -aG dialout $USER)"));
        QVERIFY(open(Other).contains("reported \"Input/output error\""));
        QVERIFY(describeLinkLoss(1, "/dev/ttyUSB0", "EIO")
                    .endsWith("serial port 1 was lost: the device /dev/ttyUSB0 reported \"EIO\"."));
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
