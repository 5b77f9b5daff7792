#pragma once

#include <functional>
#include <memory>

// One of the window's interval timers. Ticks repeat every interval until stopped;
// the one-shot timers stop themselves from their own tick handler.
class IntervalTimer {
public:
    virtual ~IntervalTimer() = default;

    // Sticky until set again. Setting the interval of a running timer restarts its count.
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    // Enables the timer. A timer that is already running keeps its count, so a fast repeat
    // cannot hold off the reply timeout and the display clear for ever.
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    void setTickHandler(std::function<void()> handler) { m_onTick = std::move(handler); }

protected:
    void tick()
    {
        if (m_onTick)
            m_onTick();
    }

private:
    std::function<void()> m_onTick;
};

// Makes timers: real ones in the program, a stepped fake clock in tests.
class TimerService {
public:
    virtual ~TimerService() = default;
    virtual std::unique_ptr<IntervalTimer> createTimer(int intervalMs) = 0;
};
