#include "pjlink_auth.h"
#include "pjlink_protocol.h"
#include "projector_model.h"

#include <QTest>

// PJLink lines answered by the protocol against the simulator's projector model, its clock
// stepped by hand: no sockets, no line, no waiting. What a real client reads of each query is
// checked end to end (test_pjlink_client).
class PjlinkProtocolTest : public QObject {
    Q_OBJECT

    const pjlink::Identity identity{"hall", "1.40"};

    // What the projector tells of the fields a request reads, and nothing else.
    static ProjectorState readFrom(ProjectorModel &model, qint64 nowMs, const QByteArrayList &codes)
    {
        ProjectorState state;
        for (const QByteArray &code : codes)
            findStateQuery(code)->take(state, model.execute(code, nowMs));
        return state;
    }

    // A line carried out as the server does: the fields read, then the reply or the commands,
    // each sent until one is not acknowledged.
    QByteArray ask(ProjectorModel &model, qint64 nowMs, const QByteArray &line) const
    {
        const std::optional<pjlink::Request> request = pjlink::readLine(line);
        if (!request)
            return {};
        const ProjectorState state = readFrom(model, nowMs, pjlink::statusReads(*request));
        const pjlink::Step step = pjlink::step(*request, state, identity);
        if (const auto *reply = std::get_if<QByteArray>(&step))
            return *reply;
        for (const QByteArray &code : std::get<QByteArrayList>(step)) {
            const Outcome outcome = outcomeOf(model.execute(code, nowMs));
            if (outcome != Outcome::Ack)
                return pjlink::commandReply(request->header, outcome);
        }
        return pjlink::commandReply(request->header, Outcome::Ack);
    }

    // A model switched on and warmed up, at the time returned.
    static qint64 switchOn(ProjectorModel &model)
    {
        model.execute("C00", 0);
        return ProjectorModel::kCountDownMs;
    }

private slots:
    void linesAreAnsweredAsTheStandardWritesThem_data()
    {
        QTest::addColumn<QByteArrayList>("setup"); // what the projector was sent
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<qint64>("after"); // the line's time after the setup
        const auto row = [](const char *tag, const QByteArrayList &setup, const QByteArray &line,
                            const char *reply, qint64 after = ProjectorModel::kCountDownMs) {
            QTest::newRow(tag) << setup << line << QByteArray(reply) << after;
        };
        const QByteArrayList on{"C00"}, off{"C00", "C01"};
        row("lower case", on, "%1powr ?", "%1POWR=1\r");
        row("warming up", on, "%1POWR ?", "%1POWR=3\r", 1000);
        row("not off while warming up", on, "%1POWR 0", "%1POWR=ERR3\r", 1000);
        row("no mutes while warming up", on, "%1AVMT 11", "%1AVMT=ERR3\r", 1000);
        row("cooling down", off, "%1POWR ?", "%1POWR=2\r");
        row("not on while cooling down", off, "%1POWR 1", "%1POWR=ERR3\r");
        row("lamp off", {}, "%1LAMP ?", "%1LAMP=1234 0\r");
        row("inputs", {}, "%1INST ?", "%1INST=11 12 21\r");
        row("mutes in standby", {}, "%1AVMT ?", "%1AVMT=ERR3\r");
        row("mutes without a signal", {"C07", "C00"}, "%1AVMT ?", "%1AVMT=ERR3\r");
        row("unknown body", {}, "%1FREZ 1", "%1FREZ=ERR1\r");
        row("class 2", {}, "%2POWR ?", "%2POWR=ERR1\r");
        row("no parameter", {}, "%1POWR", "%1POWR=ERR2\r");
        row("unknown value", {}, "%1INPT 31", "%1INPT=ERR2\r");
        row("cooling is not set", {}, "%1POWR 2", "%1POWR=ERR2\r");
        row("a query only", {}, "%1LAMP 1", "%1LAMP=ERR2\r");
        row("too long", {}, "%1NAME ?" + QByteArray(128, ' '), "%1NAME=ERR2\r");
        row("empty", {}, "", "");
        row("no header", {}, "POWR ?", "");
        row("short", {}, "%1POW", "");
    }
    void linesAreAnsweredAsTheStandardWritesThem()
    {
        QFETCH(QByteArrayList, setup);
        QFETCH(QByteArray, line);
        QFETCH(qint64, after);
        ProjectorModel model;
        for (const QByteArray &code : setup)
            model.execute(code, 0);
        QTEST(ask(model, after, line), "reply");
    }

    // Each settable value read back as the standard means it: POWR and INPT the value itself;
    // AVMT's first digit picks the picture (bit 1), the sound (bit 2) or both (3), its second
    // turns their mute on or off, and "?" names what is muted the same way, or 30 for nothing.
    void everySetReadsBackAsTheStandardMeansIt()
    {
        for (const pjlink::Row &row : pjlink::rows()) {
            if (!row.commands[0])
                continue;
            const QByteArray body = row.body;
            for (const bool mutedBefore : {false, true}) {
                ProjectorModel model;
                qint64 now = body == "POWR" && QByteArray(row.value) == "1" ? 0 : switchOn(model);
                ask(model, now, mutedBefore ? "%1AVMT 31" : "%1AVMT 30");
                const QByteArray set = "%1" + body + ' ' + row.value;
                QCOMPARE(ask(model, now, set), "%1" + body + "=OK\r");
                now += 10000; // past any warm-up or cooling
                QByteArray expected = row.value;
                if (body == "AVMT") {
                    const int picks = expected[0] - '0', on = expected[1] == '1' ? picks : 0;
                    const int muted = ((mutedBefore ? 3 : 0) & ~picks) | on;
                    expected = muted ? QByteArray::number(muted) + '1' : "30";
                }
                QCOMPARE(ask(model, now, "%1" + body + " ?"), "%1" + body + '=' + expected + '\r');
            }
        }
    }

    void theErrorStatusFollowsThePowerBits()
    {
        const std::pair<const char *, QByteArray> cases[] = {{"80", "000000"},
                                                             {"01", "020000"},
                                                             {"08", "001000"},
                                                             {"90", "000002"},
                                                             {"19", "021002"}};
        for (const auto &[powerStatus, errors] : cases) {
            ProjectorState state;
            state.power = readPowerStatus(powerStatus);
            const pjlink::Step step = pjlink::step(*pjlink::readLine("%1ERST ?"), state, identity);
            QCOMPARE(std::get<QByteArray>(step), "%1ERST=" + errors + '\r');
        }
    }

    // Each query answers from the fields it reads as it would from everything known; with
    // nothing read (the projector left a query unanswered, or the line is down), ERR4.
    void eachQueryReadsWhatItsAnswerNeeds()
    {
        QByteArrayList everything;
        for (const StateQuery &query : stateQueries())
            everything.append(query.code);
        for (const pjlink::Row &row : pjlink::rows()) {
            const auto request = pjlink::readLine("%1" + QByteArray(row.body) + " ?");
            const QByteArrayList reads = pjlink::statusReads(*request);
            if (!reads.isEmpty())
                QCOMPARE(std::get<QByteArray>(pjlink::step(*request, {}, identity)),
                         request->header + "=ERR4\r");
            for (const bool on : {false, true}) {
                ProjectorModel model;
                const qint64 now = on ? switchOn(model) : 0;
                const auto answer = [&](const QByteArrayList &codes) {
                    const ProjectorState state = readFrom(model, now, codes);
                    return std::get<QByteArray>(pjlink::step(*request, state, identity));
                };
                QCOMPARE(answer(reads), answer(everything));
            }
        }
    }

    // The worked example of the PJLink standard; without a password, no digest.
    void theFirstLineMustCarryTheStandardsDigest()
    {
        const QByteArray digest = "5d8409bc1c3fa39749434aa3a5c38682";
        QCOMPARE(pjlinkDigest("498e4a67", "JBMIAProjectorLink"), digest);
        const PjlinkLogin login("JBMIAProjectorLink", "498e4a67");
        QCOMPARE(login.greeting(), QByteArray("PJLINK 1 498e4a67\r"));
        QCOMPARE(login.admit(digest + "%1POWR ?"), QByteArray("%1POWR ?"));
        QCOMPARE(login.admit(digest.toUpper() + "%1POWR ?"), QByteArray("%1POWR ?"));
        for (const QByteArray &wrong : {"6" + digest.mid(1), digest.chopped(1) + "3", QByteArray()})
            QVERIFY2(!login.admit(wrong + "%1POWR ?"), wrong);
        QVERIFY(!login.admit(digest.left(31)));
        const PjlinkLogin open(std::nullopt, "498e4a67");
        QCOMPARE(open.greeting(), QByteArray("PJLINK 0\r"));
        QCOMPARE(open.admit(digest + "%1POWR ?"), digest + "%1POWR ?");
    }
};

QTEST_GUILESS_MAIN(PjlinkProtocolTest)
#include "test_pjlink_protocol.moc"
