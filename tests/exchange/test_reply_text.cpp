#include "reply_decoder.h"
#include "reply_tables.h"
#include "traffic_render.h"

#include <QRegularExpression>
#include <QTest>

#include <span>

namespace {
// Stands for "the status line keeps what it shows", so that failures print both sides.
const QString Unchanged = QStringLiteral("<unchanged>");

QString decoded(QByteArrayView sent, QByteArrayView reply)
{
    return decodeReply(sent, {}, renderTraffic(reply)).value_or(Unchanged);
}

QString text(std::string_view view)
{
    return QString::fromLatin1(view.data(), qsizetype(view.size()));
}
} // namespace

// The traffic lines' rendering of the bytes on the line, and the status line's decoding of it.
class ReplyTextTest : public QObject {
    Q_OBJECT
private slots:
    void bytesRenderAsLeadingBlankThenEachByte_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("rendered");
        QTest::newRow("nothing") << QByteArray() << " ";
        QTest::newRow("STATUS sent") << QByteArray("CR0\r") << " C R 0 CR ";
        QTest::newRow("words") << QByteArray("CF FANMODE L1\r") << " C F   F A N M O D E   L 1 CR ";
        QTest::newRow("ACK, CR, LF") << QByteArray("\x06\r\n") << " ACK CR LF ";
        QTest::newRow("code 20 has no blank after it") << QByteArray("\0240") << " &0 ";
        QTest::newRow("z is the last printable") << QByteArray("z{") << " z ? ";
        QTest::newRow("NUL, 7, 31, DEL, 233")
            << QByteArray("\0\x07\x1f\x7f\xe9", 5) << " ? ? ? ? ? ";
    }
    void bytesRenderAsLeadingBlankThenEachByte()
    {
        QFETCH(QByteArray, bytes);
        QTEST(renderTraffic(bytes), "rendered");
    }

    // Every key of a table is the rendering of a reply of two upper-case hex digits (one for
    // CR1), and each reply decodes to its own row.
    void everyTableKeyIsAWellFormedReplyAndDecodesToItsRow_data()
    {
        using Table = std::span<const KeyedStatus>;
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<int>("digits");
        QTest::addColumn<Table>("table");
        QTest::newRow("CR0") << QByteArray("CR0\r") << 2 << Table(PowerStatusCodes);
        QTest::newRow("CR1") << QByteArray("CR1\r") << 1 << Table(InputModeCodes);
        QTest::newRow("CR4") << QByteArray("CR4\r") << 2 << Table(OrientationCodes);
        QTest::newRow("CRA") << QByteArray("CRA\r") << 2 << Table(MuteCodes);
        QTest::newRow("CR7") << QByteArray("CR7\r") << 2 << Table(LampModeCodes);
    }
    void everyTableKeyIsAWellFormedReplyAndDecodesToItsRow()
    {
        QFETCH(QByteArray, query);
        QFETCH(int, digits);
        QFETCH(std::span<const KeyedStatus>, table);
        const QRegularExpression wellFormed(QStringLiteral("^( [0-9A-F]){%1}$").arg(digits));
        for (const KeyedStatus &row : table) {
            const QString key = text(row.key);
            QVERIFY2(wellFormed.match(key).hasMatch(), qPrintable(key));
            const QByteArray reply = key.toLatin1().replace(' ', "") + '\r';
            QCOMPARE(decoded(query, reply), text(row.status)); // so no key stands twice
        }
    }

    // Examples with literal texts, from the status line's own wording.
    void repliesDecodeByTheQuerySentLast_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("status");
        const auto row = [](const char *tag, const char *sent, const char *reply,
                            const QString &status) {
            QTest::newRow(tag) << QByteArray(sent) << QByteArray(reply) << status;
        };
        row("CR0 80", "CR0\r", "80\r", " Stand by");
        row("CR0 24, no leading blank", "CR0\r", "24\r", "Cooling down  PWR Management");
        row("CR4 00", "CR4\r", "00\r", " Top/Bottom , Left/Right reversal");
        row("CRA ff", "CRA\r", "ff\r", Unchanged);
        row("CR1 12, one character counts", "CR1\r", "12\r", " Computer 1");
        row("CR0 first character alone", "CR0\r", "0", Unchanged);
        row("CR0 earlier ACK in front", "CR0\r", "\00600\r", Unchanged);
        row("CR3 lamp hours", "CR3\r", "01234\r", " 0 1 2 3 4 CR  Hour Use");
        row("CR3 cut at 38 characters", "CR3\r", "0123456789ABCDEFGH\r",
            " 0 1 2 3 4 5 6 7 8 9 A B C D E F G H C Hour Use");
        row("CR6 three readings", "CR6\r", "038.5 041.0 029.5\r",
            "  S1= 0 3 8 . 5 C  ,   S2=  4 1 . 0 C , S3= 0 2 9 . 5 C");
        row("CR6 short reply leaves S3 empty", "CR6\r", "031.5xx42.0",
            "  S1= 0 3 1 . 5 C  ,   S2=  4 2 . 0 C , S3= C");
        row("CR9 repeats the line", "CR9\r", "ZRA70_20\r", " Z R A 7 0 _ 2 0 CR ");
        row("CR PRESSURE 853", "CR PRESSURE\r", "853\r", "1013 hPa");
        row("typed cr0", "cr0\r", "00\r", Unchanged);
        row("trailing blank", "CR0 \r", "00\r", Unchanged);
        row("no carriage return", "CR0", "00\r", Unchanged);
    }
    void repliesDecodeByTheQuerySentLast()
    {
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, reply);
        QTEST(decoded(sent, reply), "status");
    }
};

QTEST_APPLESS_MAIN(ReplyTextTest)
#include "test_reply_text.moc"
