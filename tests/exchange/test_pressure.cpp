#include "pressure.h"

#include <QTest>

#include <limits>

namespace {
const QString OutOfRange = QStringLiteral(" Pressure reading out of range");
}

class TestPressure : public QObject {
    Q_OBJECT

private slots:
    void workedReadingsGiveTheirPressure_data();
    void workedReadingsGiveTheirPressure();
    void readingsRoundHalfToEvenFirst_data();
    void readingsRoundHalfToEvenFirst();
    void readingsBeyondSixteenBitArithmeticAreReported_data();
    void readingsBeyondSixteenBitArithmeticAreReported();
};

void TestPressure::workedReadingsGiveTheirPressure_data()
{
    QTest::addColumn<double>("reading");
    QTest::addColumn<QString>("status");

    QTest::newRow("0") << 0.0 << "106 hPa";
    QTest::newRow("1") << 1.0 << "107 hPa";
    QTest::newRow("42") << 42.0 << "150 hPa";
    QTest::newRow("512") << 512.0 << "650 hPa";
    QTest::newRow("1000") << 1000.0 << "1169 hPa";
    QTest::newRow("1023") << 1023.0 << "1194 hPa";
    QTest::newRow("-1, no leading blank before the sign") << -1.0 << "104 hPa";
    QTest::newRow("largest fivefold 6553") << 6553.0 << "7077 hPa";
    QTest::newRow("lowest fivefold -6553") << -6553.0 << "-6865 hPa";
}

void TestPressure::workedReadingsGiveTheirPressure()
{
    QFETCH(double, reading);
    QFETCH(QString, status);
    QCOMPARE(pressureStatusText(reading), status);
}

void TestPressure::readingsRoundHalfToEvenFirst_data()
{
    QTest::addColumn<double>("reading");
    QTest::addColumn<QString>("status");

    // 2 gives 108 hPa, 3 gives 109 hPa, 4 gives 110 hPa.
    QTest::newRow("2.5 down to 2") << 2.5 << "108 hPa";
    QTest::newRow("3.5 up to 4") << 3.5 << "110 hPa";
    QTest::newRow("0.5 down to 0") << 0.5 << "106 hPa";
    QTest::newRow("-1.5 down to -2") << -1.5 << "103 hPa";
}

void TestPressure::readingsRoundHalfToEvenFirst()
{
    QFETCH(double, reading);
    QFETCH(QString, status);
    QCOMPARE(pressureStatusText(reading), status);
}

void TestPressure::readingsBeyondSixteenBitArithmeticAreReported_data()
{
    QTest::addColumn<double>("reading");

    QTest::newRow("fivefold 6554 overflows") << 6554.0;
    QTest::newRow("6553.5 rounds to 6554") << 6553.5;
    QTest::newRow("32768 does not fit 16 bits") << 32768.0;
    QTest::newRow("1E10") << 1e10;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
}

void TestPressure::readingsBeyondSixteenBitArithmeticAreReported()
{
    QFETCH(double, reading);
    QCOMPARE(pressureStatusText(reading), OutOfRange);
    QVERIFY(!pressureHpa(reading).has_value());
}

QTEST_APPLESS_MAIN(TestPressure)
#include "test_pressure.moc"
