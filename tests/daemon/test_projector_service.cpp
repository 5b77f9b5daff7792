#include "service_rig.h"

// The service's one queue and its state: who goes first on the line, how many exchanges a
// crowd of askers costs, and what a reply, a silence or a lost line does to the state.
class ProjectorServiceTest : public QObject {
    Q_OBJECT
private slots:
    void aClientsCommandGoesAheadOfQueuedPolling()
    {
        ServiceRig rig;
        rig.service.readAll();
        QCOMPARE(rig.line.written, QList<QByteArray>{"CR0\r"}); // one at a time
        Outcome outcome = Outcome::NoReply;
        rig.service.command("C05", [&](Outcome o) { outcome = o; });
        rig.answer("80\r");
        QCOMPARE(rig.lastSent(), QByteArray("C05\r"));
        rig.answer("\x06");
        QCOMPARE(outcome, Outcome::Ack);
        // What the command may have changed is read before the rest of the polling.
        QCOMPARE(rig.lastSent(), QByteArray("CR1\r"));
        rig.answer("2\r");
        QCOMPARE(rig.service.state().input, InputChoice::Pc2);
        QCOMPARE(rig.lastSent(), QByteArray("CRA\r")); // the poll's own reading of CR1 joined it
    }

    void fiftyAskersShareOneReading()
    {
        ServiceRig rig;
        int answered = 0;
        for (int i = 0; i < 50; ++i)
            rig.service.whenRead({"CR0", "CR3"}, [&](const ProjectorState &state) {
                answered += state.power && state.lampHours ? 1 : 0;
            });
        QCOMPARE(rig.line.written, QList<QByteArray>{"CR0\r"});
        rig.answer("00\r");
        rig.answer("01234\r");
        QCOMPARE(rig.line.written, (QList<QByteArray>{"CR0\r", "CR3\r"}));
        QCOMPARE(answered, 50);
        // Known now: the next asker is answered at once, with nothing on the line.
        rig.service.whenRead({"CR0"}, [&](const ProjectorState &) { ++answered; });
        QCOMPARE(answered, 51);
        QCOMPARE(rig.line.written.size(), 2);
    }

    void bytesBetweenExchangesAnswerNothing()
    {
        ServiceRig rig;
        rig.line.deliver("3\r");
        std::optional<InputChoice> input;
        rig.service.whenRead({"CR1"}, [&](const ProjectorState &state) { input = state.input; });
        rig.answer("1\r");
        QCOMPARE(input, InputChoice::Pc1);
    }

    // Switching on: the phase is read after C00, every 2 s while warming up, and its change to
    // on has everything read again.
    void thePowerPhaseIsFollowedThroughItsTransition()
    {
        ServiceRig rig;
        QList<ProjectorState> states;
        connect(&rig.service, &ProjectorService::stateChanged, this,
                [&](const ProjectorState &, const ProjectorState &now) { states.append(now); });
        rig.service.command("C00", {});
        rig.answer("\x06");
        QCOMPARE(rig.lastSent(), QByteArray("CR0\r"));
        rig.answer("40\r");
        QCOMPARE(states.last().power->phase, PowerPhase::WarmingUp);
        rig.clock.advance(1999);
        QCOMPARE(rig.line.written.size(), 2);
        rig.clock.advance(1);
        QCOMPARE(rig.lastSent(), QByteArray("CR0\r"));
        rig.answer("00\r");
        QCOMPARE(states.last().power->phase, PowerPhase::On);
        QCOMPARE(rig.lastSent(), QByteArray("CR1\r")); // everything else again
        const qsizetype before = rig.line.written.size();
        rig.clock.advance(2000);
        QCOMPARE(rig.line.written.size(), before); // no transition polling once on
    }

    void thePollerReadsEverythingEveryPeriodInTheBackground()
    {
        ServiceRig rig;
        rig.clock.advance(10000);
        for (const StateQuery &query : stateQueries()) {
            QCOMPARE(rig.lastSent(), QByteArray(query.code) + '\r');
            rig.answer("\x15"); // refused: each field stays unknown
        }
        QCOMPARE(rig.line.written.size(), qsizetype(stateQueries().size()));
        QCOMPARE(rig.service.state(), ProjectorState{});
        QVERIFY(rig.service.isAnswering());
    }

    void silenceOrALostLineEmptiesTheState()
    {
        ServiceRig rig;
        rig.service.whenRead({"CR0"}, [](const ProjectorState &) {});
        rig.answer("00\r");
        QVERIFY(rig.service.isAnswering());
        rig.service.whenRead({"CR1"}, [](const ProjectorState &) {});
        rig.clock.advance(500);
        QCoreApplication::processEvents();
        QVERIFY(!rig.service.isAnswering());
        QCOMPARE(rig.service.state(), ProjectorState{});

        rig.service.whenRead({"CR0"}, [](const ProjectorState &) {});
        rig.answer("00\r");
        QVERIFY(rig.service.isAnswering());
        rig.line.loseLink(QStringLiteral("gone"));
        QVERIFY(!rig.service.isAnswering());
        QCOMPARE(rig.service.state(), ProjectorState{});
        // While the line is down, a command ends at once and nothing is written.
        std::optional<Outcome> outcome;
        rig.service.command("C01", [&](Outcome o) { outcome = o; });
        QCoreApplication::processEvents();
        QCOMPARE(outcome, Outcome::LineLost);
        QCOMPARE(rig.lastSent(), QByteArray("CR0\r"));
    }
};

QTEST_GUILESS_MAIN(ProjectorServiceTest)
#include "test_projector_service.moc"
