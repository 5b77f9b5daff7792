#include "projector_readings.h"

#include <QTest>

Q_DECLARE_METATYPE(ProjectorState)

namespace {
using S = ProjectorState;

// A state that knows only the one field.
template <typename T> S only(std::optional<T> S::*field, T value)
{
    S state;
    state.*field = value;
    return state;
}

S power(PowerPhase phase, bool failure = false, bool warning = false, bool lampFailure = false)
{
    return only(&S::power, PowerReading{phase, failure, warning, lampFailure});
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
        QTest::addColumn<ProjectorState>("state");
        const auto row = [](const char *tag, const char *query, QByteArray reply,
                            ProjectorState state) {
            QTest::newRow(tag) << QByteArray(query) << reply << state;
        };
        using enum PowerPhase;
        row("standby", "CR0", "80\r", power(Standby));
        row("counting down is warming up", "CR0", "40\r", power(WarmingUp));
        row("cooling", "CR0", "20\r", power(CoolingDown));
        row("warning while cooling", "CR0", "28\r", power(CoolingDown, false, true));
        row("power management keeps the lamp off", "CR0", "04\r", power(Standby));
        row("power failure", "CR0", "10\r", power(On, true));
        row("standby after a lamp failure", "CR0", "81\r", power(Standby, false, false, true));
        row("one digit", "CR0", "8\r", {});
        row("lower-case hex", "CR0", "0a\r", {});
        row("computer 1", "CR1", "1\r", only(&S::input, InputChoice::Pc1));
        row("video", "CR1", "3\r", only(&S::input, InputChoice::Video));
        row("input mode 4 is none of the three", "CR1", "4\r", {});
        row("not projecting", "CRA", "FF\r", only(&S::mutes, MuteReading{}));
        row("no signal", "CRA", "80\r", only(&S::mutes, MuteReading{true, true, false, false}));
        row("no-show", "CRA", "01\r", only(&S::mutes, MuteReading{true, false, true, false}));
        row("both mutes", "CRA", "03\r", only(&S::mutes, MuteReading{true, false, true, true}));
        row("unknown bits", "CRA", "04\r", {});
        row("lamp hours", "CR3", "01234\r", only(&S::lampHours, 1234));
        row("too many digits", "CR3", "1234567\r", {});
        row("lamp on", "CR7", "01\r", only(&S::lampLit, true));
        row("lamp off", "CR7", "00\r", only(&S::lampLit, false));
        row("lamp 2 on in one-lamp mode", "CR7", "22\r", only(&S::lampLit, true));
        row("temperatures", "CR6", "038.5 041.0 029.5\r",
            only(&S::temperatures, Temperatures{38.5, 41, 29.5}));
        row("two readings", "CR6", "038.5 041.0\r", {});
        row("exponent", "CR6", "1e3 041.0 029.5\r", {});
        row("not a number", "CR6", "nan 041.0 029.5\r", {});
        row("model", "CR9", "ZRA70_20\r", only(&S::model, QStringLiteral("ZRA70_20")));
        row("empty model", "CR9", "\r", {});
    }
    void eachReplySetsItsField()
    {
        QFETCH(QByteArray, query);
        QFETCH(QByteArray, reply);
        QFETCH(ProjectorState, state);
        const StateQuery *row = findStateQuery(query);
        QVERIFY(row);
        ProjectorState read;
        row->take(read, reply);
        QVERIFY(read == state);
        QCOMPARE(row->isKnown(read), state != ProjectorState{});
    }

    // A reading replaces only its own field; an unreadable one makes it unknown again.
    void aReadingReplacesOnlyItsOwnField()
    {
        ProjectorState state = only(&S::lampHours, 42);
        findStateQuery("CR0")->take(state, "00\r");
        ProjectorState expected = power(PowerPhase::On);
        expected.lampHours = 42;
        QVERIFY(state == expected);
        findStateQuery("CR0")->take(state, "\x15");
        QVERIFY(state == only(&S::lampHours, 42));
    }

    void valuesHaveNamesForPeopleAndPrograms()
    {
        QStringList names;
        for (PowerPhase phase :
             {PowerPhase::Standby, PowerPhase::WarmingUp, PowerPhase::On, PowerPhase::CoolingDown})
            names << powerPhaseName(phase);
        for (InputChoice input : {InputChoice::Pc1, InputChoice::Pc2, InputChoice::Video})
            names << inputName(input);
        QCOMPARE(names.join(' '), QStringLiteral("standby warming on cooling PC1 PC2 Video"));
    }
};

QTEST_APPLESS_MAIN(ProjectorReadingsTest)
#include "test_projector_readings.moc"
