#include "projector_readings.h"

#include <QTest>

namespace {

// Every known field of a state in a few words, so that a failing row prints both sides.
QString described(const ProjectorState &state)
{
    QStringList words;
    if (state.power) {
        words << QStringLiteral("power ") + powerPhaseName(state.power->phase);
        if (state.power->powerFailure)
            words << QStringLiteral("power-failure");
        if (state.power->temperatureWarning)
            words << QStringLiteral("temperature-warning");
        if (state.power->lampFailure)
            words << QStringLiteral("lamp-failure");
    }
    if (state.input)
        words << QStringLiteral("input ") + inputName(*state.input);
    if (state.mutes) {
        words << (state.mutes->projecting ? QStringLiteral("projecting")
                                          : QStringLiteral("not-projecting"));
        if (state.mutes->noSignal)
            words << QStringLiteral("no-signal");
        if (state.mutes->picture)
            words << QStringLiteral("picture-muted");
        if (state.mutes->sound)
            words << QStringLiteral("sound-muted");
    }
    if (state.lampHours)
        words << QStringLiteral("hours %1").arg(*state.lampHours);
    if (state.lampLit)
        words << (*state.lampLit ? QStringLiteral("lit") : QStringLiteral("unlit"));
    if (state.temperatures) {
        const Temperatures &t = *state.temperatures;
        words << QStringLiteral("temperatures %1 %2 %3").arg(t[0]).arg(t[1]).arg(t[2]);
    }
    if (state.model)
        words << QStringLiteral("model ") + *state.model;
    return words.join(QLatin1Char(' '));
}

} // namespace

// The status replies read as values: each query's reply sets its one field, and a reply that
// is not of the query's form leaves the field unknown.
class ProjectorReadingsTest : public QObject {
    Q_OBJECT
private slots:
    void eachReplySetsItsField_data()
    {
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("state");
        const auto row = [](const char *tag, const char *query, QByteArray reply,
                            const char *state) {
            QTest::newRow(tag) << QByteArray(query) << reply << QString::fromLatin1(state);
        };
        row("standby", "CR0", "80\r", "power standby");
        row("counting down is warming up", "CR0", "40\r", "power warming");
        row("on", "CR0", "00\r", "power on");
        row("cooling", "CR0", "20\r", "power cooling");
        row("warning while cooling", "CR0", "28\r", "power cooling temperature-warning");
        row("power management keeps the lamp off", "CR0", "04\r", "power standby");
        row("power failure", "CR0", "10\r", "power on power-failure");
        row("standby after a lamp failure", "CR0", "81\r", "power standby lamp-failure");
        row("one digit", "CR0", "8\r", "");
        row("lower-case hex", "CR0", "0a\r", "");
        row("noise inside", "CR0", "8\x060\r", "");
        row("computer 1", "CR1", "1\r", "input PC1");
        row("video", "CR1", "3\r", "input Video");
        row("input mode 4 is none of the three", "CR1", "4\r", "");
        row("not projecting", "CRA", "FF\r", "not-projecting");
        row("no signal", "CRA", "80\r", "projecting no-signal");
        row("no-show", "CRA", "01\r", "projecting picture-muted");
        row("both mutes", "CRA", "03\r", "projecting picture-muted sound-muted");
        row("unknown bits", "CRA", "04\r", "");
        row("lamp hours", "CR3", "01234\r", "hours 1234");
        row("too many digits", "CR3", "1234567\r", "");
        row("lamp on", "CR7", "01\r", "lit");
        row("lamp off", "CR7", "00\r", "unlit");
        row("lamp 2 on in one-lamp mode", "CR7", "22\r", "lit");
        row("temperatures", "CR6", "038.5 041.0 029.5\r", "temperatures 38.5 41 29.5");
        row("two readings", "CR6", "038.5 041.0\r", "");
        row("exponent", "CR6", "1e3 041.0 029.5\r", "");
        row("not a number", "CR6", "nan 041.0 029.5\r", "");
        row("model", "CR9", "ZRA70_20\r", "model ZRA70_20");
        row("empty model", "CR9", "\r", "");
    }
    void eachReplySetsItsField()
    {
        QFETCH(QByteArray, query);
        QFETCH(QByteArray, reply);
        QFETCH(QString, state);
        const StateQuery *row = findStateQuery(query);
        QVERIFY(row);
        ProjectorState read;
        row->take(read, reply);
        QCOMPARE(described(read), state);
        QCOMPARE(row->isKnown(read), !state.isEmpty());
    }

    // A second reading replaces the first; an unreadable one leaves the field unknown.
    void aReadingReplacesOnlyItsOwnField()
    {
        ProjectorState state;
        for (const StateQuery &query : stateQueries())
            QVERIFY(!query.isKnown(state));
        findStateQuery("CR0")->take(state, "00\r");
        findStateQuery("CR3")->take(state, "00042\r");
        QCOMPARE(described(state), QStringLiteral("power on hours 42"));
        findStateQuery("CR0")->take(state, "\x15");
        QCOMPARE(described(state), QStringLiteral("hours 42"));
    }
};

QTEST_APPLESS_MAIN(ProjectorReadingsTest)
#include "test_projector_readings.moc"
