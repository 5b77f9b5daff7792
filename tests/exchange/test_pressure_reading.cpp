#include "number_reader.h"
#include "pressure.h"

#include <QTest>

#include <limits>

// The pressure query's reading of the reply as a number, and its conversion to hPa.
class PressureReadingTest : public QObject {
    Q_OBJECT
private slots:
    void textReadsAsTheNumberAtItsStart_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        const std::pair<const char *, double> rows[] = {
            {" 8 5 3 CR ", 853.0}, // a rendered reply: blanks skipped, the C of CR stops
            {"1\r2", 1.0},
            {" - 3 . 2 5", -3.25},
            {"15d-1", 1.5},
            {"1E999", std::numeric_limits<double>::infinity()},
            {"&HaB", 171.0}, // each radix prefix in either case
            {"&h355", 853.0},
            {"&O1525", 853.0},
            {"&o1525", 853.0},
            {"&H8000", -32768.0}, // 16 bits, sign bit set
            {"&H0000FFFF", -1.0}, // leading zeros do not widen
            {"&H80000000", -2147483648.0},
            {" ACK 5 CR ", 0.0},
            {"", 0.0},
        };
        for (const auto &[text, value] : rows)
            QTest::addRow("\"%s\"", text) << QString::fromLatin1(text) << value;
    }
    void textReadsAsTheNumberAtItsStart()
    {
        QFETCH(QString, text);
        QTEST(readNumber(text), "value");
    }

    void readingsConvertToHectopascal_data()
    {
        QTest::addColumn<double>("reading");
        QTest::addColumn<QString>("status");
        // The worked values, then halves rounded to even first (2 gives 108, 4 gives 110).
        QTest::newRow("0") << 0.0 << "106 hPa";
        QTest::newRow("853") << 853.0 << "1013 hPa";
        QTest::newRow("-1, sign without blank") << -1.0 << "104 hPa";
        QTest::newRow("2.5 to 2") << 2.5 << "108 hPa";
        QTest::newRow("3.5 to 4") << 3.5 << "110 hPa";
        QTest::newRow("largest fivefold 6553") << 6553.0 << "7077 hPa";
        const QString out = QStringLiteral(" Pressure reading out of range");
        QTest::newRow("fivefold 6554 overflows 16 bits") << 6554.0 << out;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << out;
    }
    void readingsConvertToHectopascal()
    {
        QFETCH(double, reading);
        QTEST(pressureStatusText(reading), "status");
    }
};

QTEST_APPLESS_MAIN(PressureReadingTest)
#include "test_pressure_reading.moc"
