#pragma once

#include "fake_serial_port.h"
#include "fake_timers.h"
#include "projector_service.h"
#include "service_log.h"
#include "socket_client.h"

#include <QCoreApplication>

// zra70d's service core for the tests that link it: its line a recording port, its clock
// stepped by hand (a full reading every 10 s, the power phase every 2 s in a transition).
struct ServiceRig {
    ServiceRig() { line.open(); }

    // The projector answers the command on the line; the queue delivers it and moves on.
    void answer(const QByteArray &reply)
    {
        line.deliver(reply);
        QCoreApplication::processEvents();
    }
    QByteArray lastSent() const
    {
        return line.written.isEmpty() ? QByteArray() : line.written.last();
    }

    FakeTimerService clock;
    FakeSerialPort line;
    ServiceLog log{false};
    ProjectorService service{line, clock, {10000, 2000}};
};
