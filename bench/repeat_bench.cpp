#include "bare_repeater.h"
#include "clock.h"
#include "event_loop.h"
#include "holds.h"
#include "profile.h"
#include "rig_setup.h"
#include "scenarios.h"
#include "stats.h"
#include "traffic_line.h"

#include <QStringList>
#include <map>

namespace {

constexpr double FidelityTarget = 0.995;
constexpr double FastGapLimit = 1.3;  // × the period, at 5 ms
constexpr double SlowGapLimit = 1.05; // × the period, at 25 ms and above

// 8N1: a start bit, eight data bits and a stop bit per byte.
double wireMs(int bytes, int baud)
{
    return bytes * 10 * 1000.0 / baud;
}

struct PeriodFigures {
    std::vector<double> fractions; // commands / ideal, one per hold
    std::vector<double> gapRatios; // p99 inter-arrival / period
    std::vector<double> counts;
    std::vector<double> ideals;
    int strays = 0;
};

double cpuUsPerCommand(const HoldResult &result)
{
    return double(result.panelCpuNs) / 1000 / std::max(result.commands, 1);
}

void emitPeriodRows(const HoldPlan &plan, const PeriodFigures &figures)
{
    const QString name = QStringLiteral("Repeat %1 ms").arg(plan.periodMs);
    const Spread fraction = spreadOf(figures.fractions);
    const Spread percent{fraction.median * 100, fraction.min * 100, fraction.max * 100};
    QString measured = QStringLiteral("%1 %, %2 of %3")
                           .arg(formatSpread(percent, 1))
                           .arg(median(figures.counts))
                           .arg(median(figures.ideals));
    if (figures.strays)
        measured += QStringLiteral(", %1 other commands").arg(figures.strays);
    emitRow(atLeast(name + QStringLiteral(": count / ideal"), measured, fraction.median,
                    FidelityTarget, QStringLiteral("≥ 99.5 %")));

    const QString gapFigure = name + QStringLiteral(": p99 gap");
    const double limit = plan.periodMs <= 5 ? FastGapLimit : SlowGapLimit;
    const QString gapTarget = QStringLiteral("≤ %1 × period").arg(limit, 0, 'f', 2);
    if (figures.gapRatios.empty()) {
        emitRow(info(gapFigure, QStringLiteral("no interval: hold shorter than the period"),
                     gapTarget));
    } else {
        const Spread gap = spreadOf(figures.gapRatios);
        emitRow(atMost(gapFigure,
                       QStringLiteral("%1 × period (%2 ms)")
                           .arg(formatSpread(gap, 3))
                           .arg(gap.median * plan.periodMs, 0, 'f', 2),
                       gap.median, limit, gapTarget));
    }

    if (plan.periodMs == 5) {
        const double fast = wireMs(4, 19200);
        const double slow = wireMs(4, 9600);
        emitRow(info(QStringLiteral("Wire floor: 4-byte command, 8N1"),
                     QStringLiteral("%1 ms at 19200, %2 ms at 9600 baud")
                         .arg(fast, 0, 'f', 2)
                         .arg(slow, 0, 'f', 2),
                     QStringLiteral("%1 % / %2 % of 5 ms")
                         .arg(fast / 5 * 100, 0, 'f', 0)
                         .arg(slow / 5 * 100, 0, 'f', 0)));
    }
}

} // namespace

void benchRepeatFidelity(const Profile &profile)
{
    auto setup = panelOnFarEnd({QStringLiteral("Repeat fidelity")});
    if (!setup)
        return;
    auto bare = bareOnFarEnd({QStringLiteral("Repeat fidelity")});
    if (!bare)
        return;
    std::vector<double> bareGapRatios;
    const std::span<const HoldPlan> plans = holdPlans();
    std::map<int, PeriodFigures> byPeriod;
    for (int round = 0; round < profile.repeatRounds; ++round) {
        // Each round starts at another period, so no period always follows the same one.
        for (std::size_t i = 0; i < plans.size(); ++i) {
            const HoldPlan &plan = plans[(i + std::size_t(round)) % plans.size()];
            PeriodFigures &figures = byPeriod[plan.periodMs];
            if (!prepareHold(*setup->rig, setup->farEnd, plan)) {
                emitRow(missing(plan.how, QStringLiteral("the set-up command did not arrive")));
                return;
            }
            const HoldResult result = hold(*setup->rig, setup->farEnd, plan, profile.holdMs);
            const int ideal = result.ideal(plan.periodMs);
            figures.fractions.push_back(double(result.commands) / ideal);
            if (!result.gapsMs.empty())
                figures.gapRatios.push_back(percentile(result.gapsMs, 99) / plan.periodMs);
            figures.counts.push_back(result.commands);
            figures.ideals.push_back(ideal);
            figures.strays += result.strays;
            if (plan.periodMs == fastArrowPlan().periodMs) {
                // The bare repeater right after, for the jitter this machine gives any timer.
                const HoldResult floor = holdBare(bare->repeater, bare->farEnd, profile.holdMs);
                if (!floor.gapsMs.empty())
                    bareGapRatios.push_back(percentile(floor.gapsMs, 99) / plan.periodMs);
            }
        }
    }
    QStringList held;
    for (const HoldPlan &plan : plans)
        held.append(QStringLiteral("%1 ms %2").arg(plan.periodMs).arg(plan.how));
    emitRow(note(QStringLiteral("Repeat: %1 holds of %2 s per period, timed at the pty peer: %3")
                     .arg(profile.repeatRounds)
                     .arg(profile.holdMs / 1000.0)
                     .arg(held.join(QStringLiteral("; ")))));
    for (const HoldPlan &plan : plans) {
        emitPeriodRows(plan, byPeriod[plan.periodMs]);
        if (plan.periodMs == fastArrowPlan().periodMs && !bareGapRatios.empty())
            emitRow(info(QStringLiteral("  floor: bare 5 ms QTimer, p99 gap"),
                         formatSpread(spreadOf(bareGapRatios), 3) + QStringLiteral(" × period"),
                         QStringLiteral("same run, alternating")));
    }
}

void benchTickWork(const Profile &profile)
{
    const QString shownFigure = QStringLiteral("Work per 5 ms tick, data area shown");
    const QString hiddenFigure = QStringLiteral("Work per 5 ms tick, data area hidden");
    auto setup = panelOnFarEnd({shownFigure, hiddenFigure});
    if (!setup)
        return;
    auto bare = bareOnFarEnd({shownFigure, hiddenFigure});
    if (!bare)
        return;
    const HoldPlan &plan = fastArrowPlan();
    enum Variant { Hidden, Shown, Bare, Variants };
    std::vector<double> perTickUs[Variants];
    for (int round = 0; round < profile.tickRounds; ++round) {
        // Side by side, each round in another order: hidden, shown, bare; shown, bare, ...
        for (int i = 0; i < Variants; ++i) {
            const auto variant = Variant((i + round) % Variants);
            if (variant == Bare) {
                const HoldResult result = holdBare(bare->repeater, bare->farEnd, profile.holdMs);
                perTickUs[Bare].push_back(cpuUsPerCommand(result));
                continue;
            }
            setup->rig->showDataArea(variant == Shown);
            if (!prepareHold(*setup->rig, setup->farEnd, plan)) {
                emitRow(missing(shownFigure, QStringLiteral("the D.Zoom command did not arrive")));
                return;
            }
            const HoldResult result = hold(*setup->rig, setup->farEnd, plan, profile.holdMs);
            perTickUs[variant].push_back(cpuUsPerCommand(result));
        }
    }
    const Spread floor = spreadOf(perTickUs[Bare]);
    const auto rowFor = [&](const QString &figure, const std::vector<double> &values,
                            double limit) {
        const Spread spread = spreadOf(values);
        const double times = spread.median / floor.median;
        return atMost(figure,
                      QStringLiteral("%1 µs CPU per command (%2 × the floor)")
                          .arg(formatSpread(spread, 1))
                          .arg(times, 0, 'f', 2),
                      times, limit, QStringLiteral("≤ %1 × the floor").arg(limit));
    };
    emitRow(rowFor(shownFigure, perTickUs[Shown], 1.3));
    emitRow(rowFor(hiddenFigure, perTickUs[Hidden], 1.2));
    emitRow(note(QStringLiteral(
        "Work per tick: CPU of the panel's process (less the far end's reader thread) from "
        "press to release, per command seen at the peer, which answers each with ACK; the "
        "floor is a bare 5 ms QTimer writing to a pty of its own, held in turn with the panel")));
    emitRow(info(QStringLiteral("  floor: bare QTimer + tty write + notifier"),
                 formatSpread(floor, 1) + QStringLiteral(" µs CPU per command"),
                 QStringLiteral("same run, alternating")));

    // What a screen reader would be told during one long hold with the data area shown.
    const int announcingHoldMs = profile.name == QLatin1String("smoke") ? 1000 : 10000;
    std::map<QString, int> announced;
    std::vector<QMetaObject::Connection> counting;
    for (const char *name : {"Label11", "Label12", "Label22"}) {
        auto *line = setup->rig->form().control<TrafficLine>(QLatin1String(name));
        counting.push_back(QObject::connect(line, &TrafficLine::announced,
                                            [&announced, name] { ++announced[name]; }));
    }
    setup->rig->showDataArea(true);
    if (!prepareHold(*setup->rig, setup->farEnd, plan))
        return;
    announced.clear();
    hold(*setup->rig, setup->farEnd, plan, announcingHoldMs);
    for (const QMetaObject::Connection &connection : counting)
        QObject::disconnect(connection);
    int busiest = 0;
    QStringList perLine;
    for (const char *name : {"Label11", "Label12", "Label22"}) {
        busiest = std::max(busiest, announced[name]);
        perLine.append(QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(announced[name]));
    }
    const double seconds = announcingHoldMs / 1000.0;
    emitRow(atMost(QStringLiteral("Text-changed notifications, %1 s 5 ms hold").arg(seconds),
                   QStringLiteral("%1 per line per second at most (%2)")
                       .arg(busiest / seconds, 0, 'f', 1)
                       .arg(perLine.join(QStringLiteral(", "))),
                   busiest / seconds, 10, QStringLiteral("≤ 10 per line per second")));
}
