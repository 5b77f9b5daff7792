#include "number_reader.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {
constexpr double Infinity = std::numeric_limits<double>::infinity();
}

class TestNumberReader : public QObject {
    Q_OBJECT

private slots:
    void decimalNumbersReadWithBlanksSkipped_data();
    void decimalNumbersReadWithBlanksSkipped();
    void exponentsScaleByPowersOfTen_data();
    void exponentsScaleByPowersOfTen();
    void hexadecimalAndOctalLiteralsTakeIntegerTyping_data();
    void hexadecimalAndOctalLiteralsTakeIntegerTyping();
    void textWithoutNumberReadsAsZero_data();
    void textWithoutNumberReadsAsZero();
};

void TestNumberReader::decimalNumbersReadWithBlanksSkipped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("digits") << "512" << 512.0;
    QTest::newRow("rendered reply") << " 5 1 2 CR " << 512.0;
    QTest::newRow("carriage return is not skipped") << "1\r2" << 1.0;
    QTest::newRow("minus sign") << "-7" << -7.0;
    QTest::newRow("blank after the sign") << " - 7" << -7.0;
    QTest::newRow("decimal point") << "3.25" << 3.25;
    QTest::newRow("blanks around the point") << "3 . 2 5" << 3.25;
    QTest::newRow("no digits before the point") << ".5" << 0.5;
    QTest::newRow("second point stops") << "1.5.3" << 1.5;
    QTest::newRow("letter stops") << "12abc" << 12.0;
    QTest::newRow("more digits than a 64-bit integer")
        << "123456789012345678901234567890" << 1.2345678901234568e29;
}

void TestNumberReader::decimalNumbersReadWithBlanksSkipped()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(readNumber(text), value);
}

void TestNumberReader::exponentsScaleByPowersOfTen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("E") << "1E3" << 1000.0;
    QTest::newRow("lower-case d with minus") << "15d-1" << 1.5;
    QTest::newRow("blanks inside") << "1 E - 2" << 0.01;
    QTest::newRow("letter without digits") << "7E" << 7.0;
    QTest::newRow("second exponent letter stops") << "2E1E1" << 20.0;
    QTest::newRow("beyond double range") << "1E999" << Infinity;
    QTest::newRow("small mantissa, large exponent") << "0.0001E310" << 1e306;
    QTest::newRow("too small for a double") << "1E-999" << 0.0;
}

void TestNumberReader::exponentsScaleByPowersOfTen()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(readNumber(text), value);
}

void TestNumberReader::hexadecimalAndOctalLiteralsTakeIntegerTyping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("hex") << "&H1F" << 31.0;
    QTest::newRow("mixed-case digits") << "&HaB" << 171.0;
    QTest::newRow("blanks anywhere") << " & H 1 F" << 31.0;
    QTest::newRow("hex stops at G") << "&H1G2" << 1.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O78" << 7.0;
    QTest::newRow("no point in hex") << "&H1.5" << 1.0;
    QTest::newRow("largest positive 16-bit") << "&H7FFF" << 32767.0;
    QTest::newRow("16 bits, sign bit set") << "&H8000" << -32768.0;
    QTest::newRow("16 bits, all set") << "&HFFFF" << -1.0;
    QTest::newRow("leading zeros do not widen") << "&H0000FFFF" << -1.0;
    QTest::newRow("just beyond 16 bits") << "&H10000" << 65536.0;
    QTest::newRow("32 bits, sign bit set") << "&H80000000" << -2147483648.0;
    QTest::newRow("beyond 32 bits, unsigned") << "&H100000000" << 4294967296.0;
}

void TestNumberReader::hexadecimalAndOctalLiteralsTakeIntegerTyping()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(readNumber(text), value);
}

void TestNumberReader::textWithoutNumberReadsAsZero_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "";
    QTest::newRow("rendered ACK before digits") << " ACK 5 CR ";
    QTest::newRow("sign alone") << "-";
    QTest::newRow("two minus signs") << "--5";
    QTest::newRow("point alone") << ".";
    QTest::newRow("exponent without mantissa") << "E5";
    QTest::newRow("hex prefix without digits") << "&H";
    QTest::newRow("ampersand, other letter") << "&X12";
    QTest::newRow("sign before hex prefix") << "-&H10";
}

void TestNumberReader::textWithoutNumberReadsAsZero()
{
    QFETCH(QString, text);
    QCOMPARE(readNumber(text), 0.0);
}

QTEST_APPLESS_MAIN(TestNumberReader)
#include "test_number_reader.moc"
