#include "projector_model.h"

#include <QTest>

namespace {
// Feeds the commands at time 0, then one query at nowMs, and returns the query's answer.
QByteArray answer(const QByteArray &before, const QByteArray &query, qint64 nowMs = 0)
{
    ProjectorModel model;
    for (const Exchange &exchange : model.feed(before, 0))
        if (exchange.reply != "\x06")
            return "refused " + exchange.command;
    const QList<Exchange> exchanges = model.feed(query + '\r', nowMs);
    return exchanges.size() == 1 ? exchanges.first().reply : "<no single reply>";
}
} // namespace

// The simulated projector without I/O: bytes in, replies out, time passed in.
class ProjectorModelTest : public QObject {
    Q_OBJECT
private slots:
    void queriesAnswerInThePanelsFormats_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<qint64>("atMs");
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<QByteArray>("reply");
        const QByteArray on = "C00\r";
        QTest::newRow("standby") << QByteArray() << 0LL << QByteArray("CR0") << QByteArray("80\r");
        QTest::newRow("cold") << QByteArray() << 0LL << QByteArray("CR6")
                              << QByteArray("025.0 025.5 024.5\r");
        QTest::newRow("not on") << QByteArray() << 0LL << QByteArray("CRA") << QByteArray("FF\r");
        QTest::newRow("pressure, 1013 hPa")
            << QByteArray() << 0LL << QByteArray("CR PRESSURE") << QByteArray("853\r");
        QTest::newRow("counting down, lamp lit")
            << on << 100LL << QByteArray("CR7") << QByteArray("01\r");
        QTest::newRow("on and hot")
            << on << 4000LL << QByteArray("CR6") << QByteArray("038.5 041.0 029.5\r");
        QTest::newRow("on, both muted")
            << on + "C0B\rC0D\r" << 4000LL << QByteArray("CRA") << QByteArray("03\r");
        QTest::newRow("on, video has no signal")
            << on + "C07\r" << 4000LL << QByteArray("CRA") << QByteArray("80\r");
        QTest::newRow("PC2 RGB") << QByteArray("CF INPUT COMPUTER2 ANALOG\r") << 0LL
                                 << QByteArray("CR1") << QByteArray("2\r");
    }
    void queriesAnswerInThePanelsFormats()
    {
        QFETCH(QByteArray, before);
        QFETCH(qint64, atMs);
        QFETCH(QByteArray, query);
        QFETCH(QByteArray, reply);
        QCOMPARE(answer(before, query, atMs), reply);
    }

    void commandsOutsideThePanelsVocabularyAreRefused_data()
    {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("reply");
        QTest::newRow("fan mode") << QByteArray("CF FANMODE L2") << QByteArray("\x06");
        QTest::newRow("S-Video") << QByteArray("CF INPUT COMPUTER1 S-VIDEO") << QByteArray("\x06");
        QTest::newRow("SELECT") << QByteArray("C3F") << QByteArray("\x06");
        QTest::newRow("unused code") << QByteArray("C99") << QByteArray("\x15");
        QTest::newRow("lower case") << QByteArray("c07") << QByteArray("\x15");
        QTest::newRow("trailing blank") << QByteArray("CR0 ") << QByteArray("\x15");
        QTest::newRow("empty line") << QByteArray() << QByteArray("\x15");
    }
    void commandsOutsideThePanelsVocabularyAreRefused()
    {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, reply);
        ProjectorModel model;
        QCOMPARE(model.feed(command + '\r', 0).value(0).reply, reply);
        if (reply == "\x15") // and nothing changed
            QCOMPARE(model.feed("CR1\r", 0).value(0).reply, QByteArray("1\r"));
    }

    void powerCountsDownFourSecondsAndCoolsSix()
    {
        ProjectorModel model;
        const auto status = [&](qint64 ms) {
            return model.feed("CR0\r", ms).value(0).reply;
        };
        model.feed("C01\rC00\r", 0); // off while off is ignored
        model.feed("C00\r", 3000);   // and on while counting down
        QCOMPARE(status(3999), QByteArray("40\r"));
        QCOMPARE(status(4000), QByteArray("00\r"));
        model.feed("C01\r", 10000);
        model.feed("C00\r", 12000); // no relighting while cooling
        QCOMPARE(status(15999), QByteArray("20\r"));
        QCOMPARE(status(16000), QByteArray("80\r"));
    }
};

QTEST_GUILESS_MAIN(ProjectorModelTest)
#include "test_projector_model.moc"
