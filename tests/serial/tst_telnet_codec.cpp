#include "captured_servers.h"
#include "com_port_session.h"
#include "network_address.h"
#include "telnet_codec.h"

#include <QTest>

// The Telnet framing and the RFC 2217 client conversation on literal byte vectors, among them
// ser2net's and sredird's own greetings and acknowledgements as captured from the wire. That
// the decoder reads the same however the bytes are cut is the fuzz target's to check.
using namespace telnet;

namespace {

// What the decoder makes of the bytes, in binary mode as both sides agree with the servers.
std::pair<QByteArray, QList<Event>> decode(const QByteArray &bytes)
{
    std::pair<QByteArray, QList<Event>> out;
    Decoder decoder;
    decoder.setDropNulAfterCr(false);
    decoder.feed(bytes, &out.first, &out.second);
    return out;
}

} // namespace

class TelnetCodecTest : public QObject {
    Q_OBJECT
private slots:
    void decoderSeparatesDataFromCommands_data()
    {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QList<Event>>("events");
        QTest::newRow("doubled 0xFF is one data byte")
            << hex("41ffff42") << hex("41ff42") << QList<Event>{};
        QTest::newRow("negotiation between data")
            << hex("4142fffd2c4344") << QByteArray("ABCD") << QList<Event>{{Do, ComPort, {}}};
        QTest::newRow("sub-negotiation with a doubled 0xFF in its payload")
            << hex("fffa2c650000ffff80fff00d") << QByteArray("\r")
            << QList<Event>{{SB, ComPort, hex("650000ff80")}};
        QTest::newRow("a command breaks off an unfinished sub-negotiation")
            << hex("fffa2c6501fffb0058") << QByteArray("X") << QList<Event>{{Will, Binary, {}}};
        QTest::newRow("an overlong sub-negotiation is dropped, the stream goes on")
            << hex("fffa2c") + QByteArray(100, 'a') + hex("fff0") + "Z" << QByteArray("Z")
            << QList<Event>{};
    }
    void decoderSeparatesDataFromCommands()
    {
        QFETCH(QByteArray, wire);
        QFETCH(QByteArray, data);
        QFETCH(QList<Event>, events);
        QCOMPARE(decode(wire), std::pair(data, events));
    }

    void sessionAgreesWithTheServerAndIsReadyOnlyOnceEverySettingIsAcknowledged_data()
    {
        QTest::addColumn<QByteArray>("greeting");
        QTest::addColumn<QByteArray>("answer"); // to the greeting, before the five requests
        QTest::addColumn<QByteArray>("acks");
        // SGA agreed both ways, ECHO refused, BINARY and COM-PORT-OPTION taken as the answers
        // to this side's own offers.
        const QByteArray answers[] = {hex("fffd03fffb03fffe01"), hex("fffe01fffd03fffb03")};
        for (int i = 0; i < 2; ++i)
            QTest::newRow(CapturedServers[i].name) << hex(CapturedServers[i].greeting) << answers[i]
                                                   << hex(CapturedServers[i].acks19200);
    }
    void sessionAgreesWithTheServerAndIsReadyOnlyOnceEverySettingIsAcknowledged()
    {
        QFETCH(QByteArray, greeting);
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, acks);
        ComPortSession session(LineSettings{19200});
        QCOMPARE(session.begin(), hex("fffb00fffd00fffb2c"));
        // A banner before the negotiation is the line's data; what to do with it is the
        // caller's.
        const ComPortSession::Step greeted = session.receive(QByteArray("hello\r\n") + greeting);
        QCOMPARE(greeted.data, QByteArray("hello\r\n"));
        QCOMPARE(greeted.reply, answer + hex("fffa2c0100004b00fff0fffa2c0208fff0fffa2c0301fff0"
                                             "fffa2c0401fff0fffa2c0501fff0"));
        // Byte by byte: not ready before the last byte of the last acknowledgement.
        const qsizetype last = acks.indexOf(hex("fffa2c69")) + 6;
        for (qsizetype at = 0; at < last; ++at) {
            const ComPortSession::Step step = session.receive(acks.mid(at, 1));
            QVERIFY(step.reply.isEmpty() && step.data.isEmpty());
            QCOMPARE(session.state(), ComPortSession::State::Negotiating);
        }
        QCOMPARE(session.receive(acks.mid(last) + "80\r").data, QByteArray("80\r"));
        QCOMPARE(session.state(), ComPortSession::State::Ready);
        QCOMPARE(session.encode(hex("ff0d")), hex("ffff0d"));

        // A 0xFF in a sub-negotiation's payload is doubled, as in the data.
        QCOMPARE(session.changeSettings(LineSettings{1023}).left(11),
                 hex("fffa2c01000003fffffff0"));
        QCOMPARE(session.state(), ComPortSession::State::Negotiating);
    }

    void sessionReportsWhatTheServerRefused()
    {
        using enum ComPortSession::Failure;
        const auto refusal = [](const char *answer, ComPortSession::Failure failure) {
            ComPortSession session(LineSettings{19200});
            session.begin();
            session.receive(hex(answer));
            return session.state() == ComPortSession::State::Failed && session.failure() == failure
                       ? session.refusal()
                       : QStringLiteral("not that failure");
        };
        const QString otherSpeed = "the server set the speed to 9600 instead of 19200";
        const QString unreadable = "the server answered the speed 19200 with an unreadable value";
        QCOMPARE(refusal("fffe2c", NoComPortOption), "the server refused the serial port option");
        QCOMPARE(refusal("fffd2cfffa2c6500002580fff0", SettingRefused), otherSpeed);
        QCOMPARE(refusal("fffd2cfffa2c6500fff0", SettingRefused), unreadable); // too short
        // sredird pads the speed with four zeros; anything else after it is no speed.
        QCOMPARE(refusal("fffd2cfffa2c650000258000000000fff0", SettingRefused), otherSpeed);
        QCOMPARE(refusal("fffd2cfffa2c6500004b0000000100fff0", SettingRefused), unreadable);
    }

    // Outside binary mode a carriage return travels as CR NUL, undone on the way in.
    void withoutBinaryACarriageReturnGoesOutAsCrNul()
    {
        ComPortSession session(LineSettings{19200});
        session.begin();
        session.receive(hex("fffc00fffe00fffd2c")); // binary refused both ways
        QCOMPARE(session.encode("CR0\r"), QByteArray("CR0\r", 5));
        QCOMPARE(session.receive(hex("300d000d0a")).data, hex("300d0d0a"));
        QCOMPARE(decode(hex("300d00")).first, hex("300d00")); // kept in binary
    }

    // A network address reads back as written; a name with a scheme that is none is refused.
    void networkAddressesAreReadStrictly()
    {
        const auto read = [](const char *name) {
            const std::optional<NetworkAddress> address = parseNetworkAddress(name);
            return address ? address->url() + ' ' + address->host : QString();
        };
        QCOMPARE(read("tcp://127.0.0.1:7001"), "tcp://127.0.0.1:7001 127.0.0.1");
        QCOMPARE(read("rfc2217://[::1]:7001"), "rfc2217://[::1]:7001 ::1");
        for (const char *bad :
             {"tcp://host", "tcp://:7001", "tcp://host:0", "tcp://host:65536", "udp://host:1",
              "tcp://ho st:1", "tcp://::1:7001", "tcp://[::1:7001"})
            QVERIFY2(isNetworkPortName(bad) && read(bad).isEmpty(), bad);
    }
};

QTEST_GUILESS_MAIN(TelnetCodecTest)
#include "tst_telnet_codec.moc"
