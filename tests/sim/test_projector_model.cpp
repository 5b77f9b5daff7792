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
        const struct {
            const char *name, *before;
            qint64 atMs;
            const char *query, *reply;
        } rows[] = {
            {"standby", "", 0, "CR0", "80\r"},
            {"pressure, 1013 hPa", "", 0, "CR PRESSURE", "853\r"},
            {"counting down, lamp lit", "C00\r", 100, "CR7", "01\r"},
            {"on and hot", "C00\r", 4000, "CR6", "038.5 041.0 029.5\r"},
            {"on, both muted", "C00\rC0B\rC0D\r", 4000, "CRA", "03\r"},
            {"on, video has no signal", "C00\rC07\r", 4000, "CRA", "80\r"},
            {"PC2 RGB", "CF INPUT COMPUTER2 ANALOG\r", 0, "CR1", "2\r"},
        };
        for (const auto &row : rows)
            QTest::newRow(row.name) << QByteArray(row.before) << row.atMs << QByteArray(row.query)
                                    << QByteArray(row.reply);
    }
    void queriesAnswerInThePanelsFormats()
    {
        QFETCH(QByteArray, before);
        QFETCH(qint64, atMs);
        QFETCH(QByteArray, query);
        QFETCH(QByteArray, reply);
        QCOMPARE(answer(before, query, atMs), reply);
    }

    // Refused, and nothing changes: "c07" would have switched to video.
    void commandsOutsideThePanelsVocabularyAreRefused()
    {
        for (const char *command : {"C99", "c07", "CR0 ", ""}) {
            ProjectorModel model;
            QCOMPARE(model.feed(command + QByteArray("\r"), 0).value(0).reply, QByteArray("\x15"));
            QCOMPARE(model.feed("CR1\r", 0).value(0).reply, QByteArray("1\r"));
        }
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
