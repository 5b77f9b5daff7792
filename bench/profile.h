#pragma once

#include <QString>

#include <optional>

// How long and how often each measurement runs.
struct Profile {
    QString name;
    int repeatRounds; // holds per repeat period
    int holdMs;       // one hold of the repeat and tick-work measurements
    int tickRounds;   // holds per view for the work per tick
    int presses;      // press-to-wire samples
    int startRounds;  // launches of each program
    int residentAfterMapMs;
    int floodSeconds;
    int longHoldSeconds; // the nothing-lost hold
    int ctlLaunches;     // zra70ctl start-up samples
    int pjlinkRoundTrips;  // POWR ? samples, with one client and with 50
    int pjlinkConnections; // connections made for the memory growth
    int pjlinkPowerOns;    // POWR 1 samples
    int mqttSamples;     // MQTT commands and line changes timed through the broker
};

// "full" (the default), "quick" (shorter flood and long hold, fewer rounds) or "smoke" (a few
// seconds in all, to see the harness work; its figures mean nothing).
std::optional<Profile> profileNamed(const QString &name);
