#pragma once

#include "command_framer.h"
#include "simulated_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// One framed command and the bytes the projector answers to it.
struct Exchange {
    QByteArray command; // without its carriage return
    QByteArray reply;
};

// The projector's side of the serial protocol, with no I/O: bytes in, replies out. Time is
// passed in as a millisecond timestamp from any monotonic clock, so the power count-down
// and cooling can be stepped through without waiting. Timestamps that go backwards are
// treated as "no time has passed".
class ProjectorModel {
public:
    static constexpr char kAck = 6;
    static constexpr char kNak = 21;
    static constexpr qint64 kCountDownMs = 4000;
    static constexpr qint64 kCoolingMs = 6000;
    static constexpr qint64 kInitialLampHours = 1234;
    // Reads as 1013 hPa through the panel's conversion.
    static constexpr int kPressureReading = 853;

    explicit ProjectorModel(qint64 startMs = 0);

    // Frames the bytes into commands and answers each one that is complete.
    QList<Exchange> feed(QByteArrayView bytes, qint64 nowMs);
    // Answers one command given without its carriage return.
    QByteArray execute(const QByteArray &command, qint64 nowMs);
    // Lets the count-down, the cooling and the lamp hours catch up with nowMs.
    void advanceTo(qint64 nowMs);
    // Forgets a command whose carriage return never came (the line was dropped).
    void dropPartialCommand() { m_framer = CommandFramer{}; }

    const SimulatedState &state() const { return m_state; }
    qint64 lampHours() const;
    bool lampLit() const;
    bool signalPresent() const;

private:
    bool applyControl(const QByteArray &command);
    QByteArray queryReply(const QByteArray &command) const;
    void powerOn();
    void powerOff();

    CommandFramer m_framer;
    SimulatedState m_state;
    qint64 m_nowMs;
    qint64 m_phaseStartMs = 0;
    qint64 m_lampLitMs = 0;
};
