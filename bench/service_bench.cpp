#include "event_loop.h"
#include "profile.h"
#include "projector_readings.h"
#include "projector_simulator.h"
#include "report.h"
#include "scenarios.h"
#include "service_process.h"

// What zra70d puts on the projector's line when nobody asks it anything: its polling alone,
// counted at the simulator over the flood's duration after the first full reading.
void benchServiceAtRest(const Profile &profile)
{
    const QString figure = QStringLiteral("zra70d at rest: exchanges per minute on the line");
    ProjectorSimulator simulator;
    ServiceProcess service;
    if (!simulator.start() ||
        !service.start({"--port", simulator.devicePath(), "--pjlink", "off"})) {
        emitRow(missing(figure, QStringLiteral("the simulator or zra70d did not start")));
        return;
    }
    runEventLoopFor(2000); // the reading at start is over
    const qsizetype before = simulator.received().size();
    const int seconds = profile.floodSeconds;
    runEventLoopFor(seconds * 1000);
    const double perMinute = double(simulator.received().size() - before) * 60.0 / seconds;
    // Every state query once per 10 s poll, nothing more.
    const double limit = double(stateQueries().size()) * 6;
    emitRow(atMost(
        figure, QStringLiteral("%1 over %2 s (poll 10 s)").arg(perMinute, 0, 'f', 1).arg(seconds),
        perMinute, limit,
        QStringLiteral("≤ %1 (%2 queries each 10 s)").arg(limit).arg(stateQueries().size())));
    service.terminate();
}
