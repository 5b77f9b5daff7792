#include "clock.h"
#include "event_loop.h"
#include "panel_rig.h"
#include "profile.h"
#include "report.h"
#include "scenarios.h"
#include "sim_process.h"
#include "stats.h"

namespace {

constexpr int PeriodMs = 5;
constexpr const char *ZoomPlus = "Command48";
constexpr const char *ArrowRight = "Command8";
const QByteArray ZoomCommand = "C30";
const QByteArray ArrowCommand = "C3A";

} // namespace

void benchNothingLost(const Profile &profile)
{
    const QString figure =
        QStringLiteral("Nothing lost: → held %1 s at 5 ms").arg(profile.longHoldSeconds);
    SimProcess simulator;
    QString error;
    if (!simulator.start({}, &error)) {
        emitRow(missing(figure, error));
        return;
    }
    PanelRig rig(simulator.device(), PanelRig::Writes::Counted);
    if (!rig.isReady()) {
        emitRow(missing(figure, rig.problem()));
        return;
    }
    rig.press(ZoomPlus);
    rig.release(ZoomPlus);
    runEventLoopFor(50);
    const qint64 pressed = steadyNowNs();
    rig.press(ArrowRight);
    runEventLoopFor(profile.longHoldSeconds * 1000);
    const qint64 released = steadyNowNs();
    rig.release(ArrowRight);
    runEventLoopFor(300); // everything written has reached the simulator
    simulator.stop();

    const CountingPort &port = *rig.writeCounter();
    const QList<SimProcess::Traced> traced = simulator.trace();
    qint64 whole = 0;
    qint64 damaged = 0;
    std::vector<double> gapsMs;
    for (qsizetype i = 0; i < traced.size(); ++i) {
        const QByteArray &expected = i == 0 ? ZoomCommand : ArrowCommand;
        if (traced[i].command != expected) {
            ++damaged;
            continue;
        }
        ++whole;
        if (i >= 2)
            gapsMs.push_back(double(traced[i].ns - traced[i - 1].ns) / 1e6);
    }
    // The simulator frames at carriage returns, so a missing or torn byte shows as a damaged
    // or merged command, and the byte count tells a lost carriage return.
    const bool exact =
        port.refused() == 0 && damaged == 0 && whole == port.writes() && port.bytes() == 4 * whole;
    const QString measured = QStringLiteral("wrote %1 (%2 B); simulator got %3 whole, %4 damaged")
                                 .arg(port.writes())
                                 .arg(port.bytes())
                                 .arg(whole)
                                 .arg(damaged);
    emitRow({figure, measured, QStringLiteral("exact"),
             port.writes() ? double(whole) / double(port.writes()) : 0,
             exact ? Row::Verdict::Pass : Row::Verdict::Fail});

    const qint64 ideal = 1 + (released - pressed) / (PeriodMs * 1'000'000);
    emitRow(info(QStringLiteral("  same hold: sent / ideal; p99 gap"),
                 QStringLiteral("%1 of %2 (%3 %), p99 %4 ms")
                     .arg(port.writes() - 1)
                     .arg(ideal)
                     .arg(100.0 * double(port.writes() - 1) / double(ideal), 0, 'f', 2)
                     .arg(percentile(gapsMs, 99), 0, 'f', 2),
                 QStringLiteral("gap timed by the simulator")));
}
