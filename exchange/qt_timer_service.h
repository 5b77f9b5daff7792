#pragma once

#include "interval_timer.h"

// Real timers on the event loop, precise to the millisecond so the 5 ms repeat keeps its period.
class QtTimerService final : public TimerService {
public:
    std::unique_ptr<IntervalTimer> createTimer(int intervalMs) override;
};
