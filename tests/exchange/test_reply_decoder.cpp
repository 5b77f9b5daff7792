#include "reply_decoder.h"
#include "traffic_render.h"

#include <QTest>

namespace {
// Stands for "the status line keeps what it shows", so that failures print both sides.
const QString Unchanged = QStringLiteral("<unchanged>");

QString decoded(QByteArrayView sendText, QByteArrayView cmdPrefix, const QString &rendered)
{
    return decodeReply(sendText, cmdPrefix, rendered).value_or(Unchanged);
}
} // namespace

class TestReplyDecoder : public QObject {
    Q_OBJECT

private slots:
    void everyTableRowGivesItsStatusText_data();
    void everyTableRowGivesItsStatusText();
    void unknownOrIncompleteKeysLeaveStatusUnchanged_data();
    void unknownOrIncompleteKeysLeaveStatusUnchanged();
    void sameReplyMeansDifferentThingsPerQuery_data();
    void sameReplyMeansDifferentThingsPerQuery();
    void onlyTheExactQueryTextSelectsADecoder_data();
    void onlyTheExactQueryTextSelectsADecoder();
    void textQueriesCutTheRenderedReply_data();
    void textQueriesCutTheRenderedReply();
    void pressureQueryConvertsTheReadingToHectopascal_data();
    void pressureQueryConvertsTheReadingToHectopascal();
    void replyInPiecesIsDecodedWholeOnceComplete();
    void staleCharactersOfAnEarlierReplyGiveTheKey();
};

void TestReplyDecoder::everyTableRowGivesItsStatusText_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QString>("rendered");
    QTest::addColumn<QString>("status");
    // Query, reply as the traffic display renders it, status text.
    const char *const rows[][3] = {
        {"CR0", " 0 0 CR ", " Power ON"},
        {"CR0", " 8 0 CR ", " Stand by"},
        {"CR0", " 4 0 CR ", " Count down"},
        {"CR0", " 2 0 CR ", " Cooling down"},
        {"CR0", " 1 0 CR ", " Power Fail"},
        {"CR0", " 0 8 CR ", " Temperature Warning"},
        {"CR0", " 0 2 CR ", " NO Key input "},
        {"CR0", " 0 4 CR ", " Lamp OFF by PWR Management"},
        {"CR0", " 2 8 CR ", " Temperature Warning & cooling down"},
        {"CR0", " 2 4 CR ", "Cooling down  PWR Management"},
        {"CR0", " 8 8 CR ", " Temperature Warning and recoverd"},
        {"CR0", " 2 1 CR ", " Cooling down (All Lamp FAIL)"},
        {"CR0", " 8 1 CR ", " Cooling down & sutandby (All Lamp FAIL)"},
        {"CR1", " 1 CR ", " Computer 1"},
        {"CR1", " 2 CR ", " Computer 2"},
        {"CR1", " 3 CR ", " Video"},
        {"CR1", " 4 CR ", " Input mode 4"},
        {"CR1", " 1 2 CR ", " Computer 1"},
        {"CR4", " 1 1 CR ", " Normally"},
        {"CR4", " 1 0 CR ", " Top/Bottom reversal"},
        {"CR4", " 0 1 CR ", " Left/Right reversal"},
        {"CR4", " 0 0 CR ", " Top/Bottom , Left/Right reversal"},
        {"CRA", " 0 0 CR ", " Video & Audio mute OFF"},
        {"CRA", " 0 1 CR ", " Video mute ON"},
        {"CRA", " 0 2 CR ", " Audio mute ON"},
        {"CRA", " 0 3 CR ", " Video & Audio mute ON"},
        {"CRA", " 8 0 CR ", " No signal"},
        {"CRA", " F F CR ", " Stand by"},
        {"CR7", " 0 0 CR ", " LAMP OFF"},
        {"CR7", " 0 1 CR ", " LAMP ON"},
        {"CR7", " 0 2 CR ", " No2 ON  : 2 Lamp mode"},
        {"CR7", " 0 3 CR ", " No1,2 ON  : 2 Lamp mode"},
        {"CR7", " 1 0 CR ", " All OFF : 1 Lamp mode(No1 USE)"},
        {"CR7", " 1 1 CR ", " No1 ON  : 1 Lamp mode(No1 USE)"},
        {"CR7", " 2 0 CR ", " All OFF : 1 Lamp mode(No2 USE)"},
        {"CR7", " 2 2 CR ", " No2 ON  : 1 Lamp mode(No2 USE)"},
        {"CR0", " 8 0", " Stand by"},
    };
    for (const auto &row : rows) {
        QTest::addRow("%s%s", row[0], row[1])
            << QByteArray(row[0]) + '\r' << QString::fromLatin1(row[1])
            << QString::fromLatin1(row[2]);
    }
}

void TestReplyDecoder::everyTableRowGivesItsStatusText()
{
    QFETCH(QByteArray, query);
    QFETCH(QString, rendered);
    QFETCH(QString, status);
    QCOMPARE(decoded(query, "", rendered), status);
}

void TestReplyDecoder::unknownOrIncompleteKeysLeaveStatusUnchanged_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QString>("rendered");

    QTest::newRow("CRA ff, keys are case-sensitive") << QByteArray("CRA\r") << " f f CR ";
    QTest::newRow("CR0 first character alone") << QByteArray("CR0\r") << " 0 ";
    QTest::newRow("CR0 code 20 shifts the key") << QByteArray("CR0\r") << " &0 0 ";
    QTest::newRow("CR0 ACK in front") << QByteArray("CR0\r") << " ACK 0 0 CR ";
    QTest::newRow("CR1 0") << QByteArray("CR1\r") << " 0 CR ";
}

void TestReplyDecoder::unknownOrIncompleteKeysLeaveStatusUnchanged()
{
    QFETCH(QByteArray, query);
    QFETCH(QString, rendered);
    QCOMPARE(decoded(query, "", rendered), Unchanged);
}

void TestReplyDecoder::sameReplyMeansDifferentThingsPerQuery_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QString>("status");

    QTest::newRow("CR0") << QByteArray("CR0\r") << " Power ON";
    QTest::newRow("CR1") << QByteArray("CR1\r") << Unchanged;
    QTest::newRow("CR3") << QByteArray("CR3\r") << " 0 0 CR  Hour Use";
    QTest::newRow("CR6") << QByteArray("CR6\r") << "  S1= 0 0 CR  C  ,   S2=  C , S3= C";
    QTest::newRow("CR9") << QByteArray("CR9\r") << " 0 0 CR ";
    QTest::newRow("power on command is no query") << QByteArray("C00\r") << Unchanged;
}

void TestReplyDecoder::sameReplyMeansDifferentThingsPerQuery()
{
    QFETCH(QByteArray, query);
    QFETCH(QString, status);
    QCOMPARE(decoded(query, "", renderTraffic("00\r")), status);
}

void TestReplyDecoder::onlyTheExactQueryTextSelectsADecoder_data()
{
    QTest::addColumn<QByteArray>("sendText");
    QTest::addColumn<QByteArray>("cmdPrefix");
    QTest::addColumn<QString>("status");

    QTest::newRow("exact") << QByteArray("CR0\r") << QByteArray() << " Power ON";
    QTest::newRow("trailing blank") << QByteArray("CR0 \r") << QByteArray() << Unchanged;
    QTest::newRow("no carriage return") << QByteArray("CR0") << QByteArray() << Unchanged;
    QTest::newRow("with prefix") << QByteArray("@1CR0\r") << QByteArray("@1") << " Power ON";
    QTest::newRow("other prefix") << QByteArray("@2CR0\r") << QByteArray("@1") << Unchanged;
    QTest::newRow("prefixed pressure")
        << QByteArray("@1CR PRESSURE\r") << QByteArray("@1") << "106 hPa";
}

void TestReplyDecoder::onlyTheExactQueryTextSelectsADecoder()
{
    QFETCH(QByteArray, sendText);
    QFETCH(QByteArray, cmdPrefix);
    QFETCH(QString, status);
    QCOMPARE(decoded(sendText, cmdPrefix, QStringLiteral(" 0 0 CR ")), status);
}

void TestReplyDecoder::textQueriesCutTheRenderedReply_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("status");

    QTest::newRow("CR3 17 characters fit with CR")
        << QByteArray("CR3\r") << QByteArray("ABCDEFGHIJKLMNOPQ\r")
        << " A B C D E F G H I J K L M N O P Q CR  Hour Use";
    QTest::newRow("CR3 18 characters cut at 38")
        << QByteArray("CR3\r") << QByteArray("0123456789ABCDEFGH\r")
        << " 0 1 2 3 4 5 6 7 8 9 A B C D E F G H C Hour Use";
    QTest::newRow("CR3 nothing yet") << QByteArray("CR3\r") << QByteArray() << "  Hour Use";
    QTest::newRow("CR6 three temperatures")
        << QByteArray("CR6\r") << QByteArray("031.5xx42.0y038.5\r")
        << "  S1= 0 3 1 . 5 C  ,   S2=  4 2 . 0 C , S3= 0 3 8 . 5 C";
    QTest::newRow("CR6 11 characters leave S3 empty")
        << QByteArray("CR6\r") << QByteArray("031.5xx42.0")
        << "  S1= 0 3 1 . 5 C  ,   S2=  4 2 . 0 C , S3= C";
    QTest::newRow("CR9 repeats the line")
        << QByteArray("CR9\r") << QByteArray("AB\x7f\r") << " A B ? CR ";
}

void TestReplyDecoder::textQueriesCutTheRenderedReply()
{
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, reply);
    QFETCH(QString, status);
    QCOMPARE(decoded(query, "", renderTraffic(reply)), status);
}

void TestReplyDecoder::pressureQueryConvertsTheReadingToHectopascal_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("status");

    QTest::newRow("no digits") << QByteArray("NG\r") << "106 hPa";
    QTest::newRow("ACK ends the reading") << QByteArray("\x06"
                                                        "512\r")
                                          << "106 hPa";
    QTest::newRow("code 20 and H spell hexadecimal") << QByteArray("\x14H200") << "650 hPa";
    // " &H 1 CR " reads as &H1C, 28.
    QTest::newRow("C of the CR rendering is a hex digit") << QByteArray("\x14H1\r") << "135 hPa";
    QTest::newRow("reading too large") << QByteArray("32767\r") << " Pressure reading out of range";
}

void TestReplyDecoder::pressureQueryConvertsTheReadingToHectopascal()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, status);
    QCOMPARE(decoded("CR PRESSURE\r", "", renderTraffic(reply)), status);
}

// Each receive event re-renders everything collected so far.
void TestReplyDecoder::replyInPiecesIsDecodedWholeOnceComplete()
{
    QCOMPARE(decoded("CR0\r", "", renderTraffic("0")), Unchanged);
    QCOMPARE(decoded("CR0\r", "", renderTraffic("00")), QStringLiteral(" Power ON"));
    QCOMPARE(decoded("CR0\r", "", renderTraffic("00\r")), QStringLiteral(" Power ON"));
    QCOMPARE(decoded("CR PRESSURE\r", "", renderTraffic("51")), QStringLiteral("160 hPa"));
    QCOMPARE(decoded("CR PRESSURE\r", "", renderTraffic("512\r")), QStringLiteral("650 hPa"));
}

void TestReplyDecoder::staleCharactersOfAnEarlierReplyGiveTheKey()
{
    const QByteArray earlierThenCurrent = QByteArray("80\r") + QByteArray("00\r");
    QCOMPARE(decoded("CR0\r", "", renderTraffic(earlierThenCurrent)), QStringLiteral(" Stand by"));
}

QTEST_APPLESS_MAIN(TestReplyDecoder)
#include "test_reply_decoder.moc"
