#include "line_settings.h"

#include <QTest>

class LineSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void wellFormedSettingsAreRead_data();
    void wellFormedSettingsAreRead();
    void malformedSettingsAreRefusedWithADescription_data();
    void malformedSettingsAreRefusedWithADescription();
};

void LineSettingsTest::wellFormedSettingsAreRead_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("baudRate");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");

    QTest::newRow("start settings 19200 baud")
        << "19200,N,8,1" << 19200 << int(QSerialPort::NoParity) << 8 << int(QSerialPort::OneStop);
    QTest::newRow("even parity, 7 data bits, 2 stop bits")
        << "4800,E,7,2" << 4800 << int(QSerialPort::EvenParity) << 7 << int(QSerialPort::TwoStop);
    QTest::newRow("space parity, 6 data bits, 1.5 stop bits")
        << "110,S,6,1.5" << 110 << int(QSerialPort::SpaceParity) << 6
        << int(QSerialPort::OneAndHalfStop);
    QTest::newRow("lower-case parity letter")
        << "9600,e,8,1" << 9600 << int(QSerialPort::EvenParity) << 8 << int(QSerialPort::OneStop);
    QTest::newRow("slowest speed")
        << "50,N,8,1" << 50 << int(QSerialPort::NoParity) << 8 << int(QSerialPort::OneStop);
    QTest::newRow("fastest speed") << "4000000,N,8,1" << 4000000 << int(QSerialPort::NoParity) << 8
                                   << int(QSerialPort::OneStop);
}

void LineSettingsTest::wellFormedSettingsAreRead()
{
    QFETCH(QString, text);
    QFETCH(int, baudRate);
    QFETCH(int, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);

    QString error = QStringLiteral("untouched");
    const std::optional<LineSettings> settings = parseLineSettings(text, &error);

    QVERIFY(settings.has_value());
    QCOMPARE(settings->baudRate, baudRate);
    QCOMPARE(int(settings->parity), parity);
    QCOMPARE(int(settings->dataBits), dataBits);
    QCOMPARE(int(settings->stopBits), stopBits);
    QCOMPARE(error, QStringLiteral("untouched"));
}

void LineSettingsTest::malformedSettingsAreRefusedWithADescription_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("description");

    QTest::newRow("empty") << ""
                           << "The port settings are empty; expected a text such as "
                              "\"19200,N,8,1\".";
    QTest::newRow("blank after a comma")
        << "19200, N,8,1"
        << "The port settings \"19200,?N,8,1\" contain a blank or an unexpected character; "
           "expected a text such as \"19200,N,8,1\".";
    QTest::newRow("non-ASCII parity letter")
        << QStringLiteral("9600,\u00d1,8,1")
        << "The port settings \"9600,?,8,1\" contain a blank or an unexpected character; "
           "expected a text such as \"19200,N,8,1\".";
    QTest::newRow("very long") << QString(200, QLatin1Char('9'))
                               << "The port settings are too long (200 characters); expected a "
                                  "text such as \"19200,N,8,1\".";
    QTest::newRow("stop bits missing")
        << "19200,N,8"
        << "The port settings \"19200,N,8\" must have four parts separated by commas: speed, "
           "parity, data bits and stop bits, such as \"19200,N,8,1\".";
    QTest::newRow("letters in the speed")
        << "19k2,N,8,1"
        << "The speed in the port settings \"19k2,N,8,1\" must be a whole number from 50 to "
           "4000000, not \"19k2\".";
    QTest::newRow("absurd speed")
        << "99999999,N,8,1"
        << "The speed in the port settings \"99999999,N,8,1\" must be a whole number from 50 to "
           "4000000, not \"99999999\".";
    QTest::newRow("speed beyond 64 bits")
        << "99999999999999999999,N,8,1"
        << "The speed in the port settings \"99999999999999999999,N,8,1\" must be a whole number "
           "from 50 to 4000000, not \"99999999999999999999\".";
    QTest::newRow("unknown parity letter")
        << "9600,X,8,1"
        << "The parity in the port settings \"9600,X,8,1\" must be N, E, O, M or S, not \"X\".";
    QTest::newRow("9 data bits") << "9600,N,9,1"
                                 << "The data bits in the port settings \"9600,N,9,1\" must be 5, "
                                    "6, 7 or 8, not \"9\".";
    QTest::newRow("3 stop bits") << "9600,N,8,3"
                                 << "The stop bits in the port settings \"9600,N,8,3\" must be 1, "
                                    "1.5 or 2, not \"3\".";
}

void LineSettingsTest::malformedSettingsAreRefusedWithADescription()
{
    QFETCH(QString, text);
    QFETCH(QString, description);

    QString error;
    QVERIFY(!parseLineSettings(text, &error).has_value());
    QCOMPARE(error, description);
}

QTEST_GUILESS_MAIN(LineSettingsTest)
#include "tst_line_settings.moc"
