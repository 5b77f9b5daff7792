#include "holds.h"

#include "bare_repeater.h"
#include "clock.h"
#include "event_loop.h"
#include "far_end.h"
#include "interval_timer.h"
#include "panel_rig.h"

#include <array>

namespace {

using enum HoldPlan::Setup;

const std::array plans{
    HoldPlan{5, QStringLiteral("→ after D.Zoom"), "Command8", "C3A", ZoomRelease},
    HoldPlan{25, QStringLiteral("→ with Timer1 set to 25"), "Command8", "C3A", ZoomRelease, 25},
    HoldPlan{50, QStringLiteral("Brightness +"), "Command15", "C20", None},
    HoldPlan{200, QStringLiteral("→ after A-IMAGE"), "Command8", "C3A", AImage},
    HoldPlan{250, QStringLiteral("VOL +"), "Command1", "C09", None},
    HoldPlan{500, QStringLiteral("SELECT"), "Command6", "C3F", None},
};

// Long enough for the command written last before the release to reach the far end.
constexpr int InFlightMs = 30;

HoldResult collect(const FarEnd &farEnd, qsizetype before, const QByteArray &code, qint64 heldNs,
                   qint64 cpuNs)
{
    HoldResult result;
    result.heldNs = heldNs;
    result.panelCpuNs = cpuNs;
    const std::vector<FarEnd::Arrival> arrivals = farEnd.arrivals();
    qint64 previous = -1;
    for (auto it = arrivals.begin() + before; it != arrivals.end(); ++it) {
        if (it->command != code) {
            ++result.strays;
            continue;
        }
        ++result.commands;
        if (previous >= 0)
            result.gapsMs.push_back(double(it->ns - previous) / 1e6);
        previous = it->ns;
    }
    return result;
}

} // namespace

std::span<const HoldPlan> holdPlans()
{
    return plans;
}

const HoldPlan &fastArrowPlan()
{
    return plans.front();
}

bool prepareHold(PanelRig &rig, FarEnd &farEnd, const HoldPlan &plan)
{
    const qsizetype before = farEnd.count();
    switch (plan.setup) {
    case None:
        return true;
    case ZoomRelease:
        rig.press("Command48");
        rig.release("Command48");
        break;
    case AImage:
        rig.click("Command13");
        break;
    }
    const bool sent = farEnd.waitForCount(before + 1, 1000);
    runEventLoopFor(InFlightMs); // its answer comes back and is shown
    return sent;
}

HoldResult hold(PanelRig &rig, FarEnd &farEnd, const HoldPlan &plan, int holdMs)
{
    const qsizetype before = farEnd.count();
    const qint64 cpuBefore = processCpuNs() - FarEnd::allReadersCpuNs();
    const qint64 pressed = steadyNowNs();
    rig.press(plan.button);
    if (plan.forcedIntervalMs)
        rig.controller().timer(1).setInterval(plan.forcedIntervalMs);
    runEventLoopFor(holdMs);
    const qint64 released = steadyNowNs();
    const qint64 cpuAfter = processCpuNs() - FarEnd::allReadersCpuNs();
    rig.release(plan.button);
    runEventLoopFor(InFlightMs);

    return collect(farEnd, before, plan.code, released - pressed, cpuAfter - cpuBefore);
}

HoldResult holdBare(BareRepeater &bare, FarEnd &farEnd, int holdMs)
{
    const qsizetype before = farEnd.count();
    const qint64 cpuBefore = processCpuNs() - FarEnd::allReadersCpuNs();
    const qint64 pressed = steadyNowNs();
    bare.start(fastArrowPlan().periodMs);
    runEventLoopFor(holdMs);
    const qint64 released = steadyNowNs();
    const qint64 cpuAfter = processCpuNs() - FarEnd::allReadersCpuNs();
    bare.stop();
    runEventLoopFor(InFlightMs);
    return collect(farEnd, before, BareRepeater::Code, released - pressed, cpuAfter - cpuBefore);
}
