#include "traffic_render.h"

#include <QTest>

class TestTrafficRender : public QObject {
    Q_OBJECT

private slots:
    void eachByteRendersByTheFirstMatchingRule_data();
    void eachByteRendersByTheFirstMatchingRule();
    void wholeTextRendersAsLeadingBlankThenEachByte_data();
    void wholeTextRendersAsLeadingBlankThenEachByte();
    void printableCharacterStandsAtEvenPosition();
    void code20ShiftsLaterCharactersOnePositionEarlier();
};

void TestTrafficRender::eachByteRendersByTheFirstMatchingRule_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("rendered");

    QTest::newRow("code 0 (NUL)") << QByteArray("\0", 1) << " ? ";
    QTest::newRow("code 6 (ACK)") << QByteArray("\x06") << " ACK ";
    QTest::newRow("code 7, above ACK") << QByteArray("\x07") << " ? ";
    QTest::newRow("code 10 (line feed)") << QByteArray("\n") << " LF ";
    QTest::newRow("code 13 (carriage return)") << QByteArray("\r") << " CR ";
    QTest::newRow("code 20 has no blank after it") << QByteArray("\x14") << " &";
    QTest::newRow("code 31, last control code") << QByteArray("\x1f") << " ? ";
    QTest::newRow("code 32, blank") << QByteArray(" ") << "   ";
    QTest::newRow("ampersand itself is printable") << QByteArray("&") << " & ";
    QTest::newRow("code 122, z") << QByteArray("z") << " z ";
    QTest::newRow("code 123, {") << QByteArray("{") << " ? ";
    QTest::newRow("code 127 (DEL)") << QByteArray("\x7f") << " ? ";
    QTest::newRow("code 233 is one character") << QByteArray("\xe9") << " ? ";
    QTest::newRow("code 255") << QByteArray("\xff") << " ? ";
}

void TestTrafficRender::eachByteRendersByTheFirstMatchingRule()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, rendered);
    QCOMPARE(renderTraffic(text), rendered);
}

void TestTrafficRender::wholeTextRendersAsLeadingBlankThenEachByte_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("rendered");

    QTest::newRow("empty text") << QByteArray() << " ";
    QTest::newRow("C12") << QByteArray("C12\r") << " C 1 2 CR ";
    QTest::newRow("status query") << QByteArray("CR0\r") << " C R 0 CR ";
    QTest::newRow("reply 00") << QByteArray("00\r") << " 0 0 CR ";
    QTest::newRow("words with blanks")
        << QByteArray("CF FANMODE L1\r") << " C F   F A N M O D E   L 1 CR ";
    QTest::newRow("acknowledged reply") << QByteArray("\x06\r\n") << " ACK CR LF ";
    QTest::newRow("mixed controls") << QByteArray("\x01\x06\x7f\x14\r") << " ? ACK ? &CR ";
}

void TestTrafficRender::wholeTextRendersAsLeadingBlankThenEachByte()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, rendered);
    QCOMPARE(renderTraffic(text), rendered);
}

// The reply decoder reads reply character k at position 2k (from 1) with blanks between.
void TestTrafficRender::printableCharacterStandsAtEvenPosition()
{
    QByteArray printable;
    for (int code = 32; code <= 122; ++code)
        printable += char(code);

    const QString rendered = renderTraffic(printable);

    QCOMPARE(rendered.size(), 1 + 2 * printable.size());
    for (qsizetype k = 1; k <= printable.size(); ++k) {
        QCOMPARE(rendered.at(2 * k - 1), QLatin1Char(printable.at(k - 1)));
        QCOMPARE(rendered.at(2 * k - 2), QLatin1Char(' '));
    }
}

void TestTrafficRender::code20ShiftsLaterCharactersOnePositionEarlier()
{
    QCOMPARE(renderTraffic("\x14"
                           "00"),
             QStringLiteral(" &0 0 "));
}

QTEST_APPLESS_MAIN(TestTrafficRender)
#include "test_traffic_render.moc"
