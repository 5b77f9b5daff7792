#pragma once

#include <QByteArray>
#include <QString>

#include <span>
#include <vector>

class BareRepeater;
class FarEnd;
class PanelRig;

// One way of holding an adjuster at a given repeat period.
struct HoldPlan {
    enum class Setup {
        None,        // the button sets its own period at the press
        ZoomRelease, // a D.Zoom "+" press and release first: the arrows then repeat every 5 ms
        AImage,      // "A-IMAGE" first: the arrows then repeat every 200 ms
    };

    int periodMs;
    QString how;
    const char *button;
    QByteArray code; // the command it repeats, without its carriage return
    Setup setup;
    int forcedIntervalMs = 0; // set on Timer1 right after the press; 0 = leave it
};

std::span<const HoldPlan> holdPlans();
const HoldPlan &fastArrowPlan();

struct HoldResult {
    qint64 heldNs = 0;          // press to release, as delivered to the button
    qint64 panelCpuNs = 0;      // the process's CPU time less the far ends', press to release
    int commands = 0;           // of the held button, at the far end
    int strays = 0;             // anything else that arrived meanwhile
    std::vector<double> gapsMs; // between consecutive arrivals

    int ideal(int periodMs) const { return 1 + int(heldNs / (qint64(periodMs) * 1'000'000)); }
};

// Sends whatever sets the plan's period and waits for it to have gone out and been answered.
bool prepareHold(PanelRig &rig, FarEnd &farEnd, const HoldPlan &plan);
HoldResult hold(PanelRig &rig, FarEnd &farEnd, const HoldPlan &plan, int holdMs);
// The same hold on the bare repeater at 5 ms: the floor under the panel's figures.
HoldResult holdBare(BareRepeater &bare, FarEnd &farEnd, int holdMs);
