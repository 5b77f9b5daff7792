#pragma once

#include "interval_timer.h"

#include <cstdint>
#include <vector>

// A stepped clock for tests: timers fire only when the test advances time, in due order,
// so intervals down to 5 ms are exact and nothing waits on the wall clock.
class FakeTimerService final : public TimerService {
public:
    std::unique_ptr<IntervalTimer> createTimer(int intervalMs) override;

    // Moves the clock forward by ms, firing every tick that falls due on the way.
    void advance(int ms);
    std::int64_t now() const { return m_now; }

private:
    friend class FakeIntervalTimer;
    void forget(class FakeIntervalTimer *timer);

    std::int64_t m_now = 0;
    std::vector<class FakeIntervalTimer *> m_timers;
};
