#include "fake_timers.h"

#include <algorithm>
#include <limits>

class FakeIntervalTimer final : public IntervalTimer {
public:
    FakeIntervalTimer(FakeTimerService &service, int intervalMs)
        : m_service(service)
        , m_interval(intervalMs)
    {
    }
    ~FakeIntervalTimer() override { m_service.forget(this); }

    void setInterval(int ms) override
    {
        m_interval = ms;
        if (m_active)
            m_due = m_service.now() + m_interval;
    }
    int interval() const override { return m_interval; }
    void start() override
    {
        if (m_active)
            return;
        m_active = true;
        m_due = m_service.now() + m_interval;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }

    std::int64_t due() const { return m_due; }
    void fire()
    {
        // A repeating timer keeps its period: the next tick is one interval after this one.
        m_due += std::max(1, m_interval);
        tick();
    }

private:
    FakeTimerService &m_service;
    int m_interval;
    bool m_active = false;
    std::int64_t m_due = 0;
};

std::unique_ptr<IntervalTimer> FakeTimerService::createTimer(int intervalMs)
{
    auto timer = std::make_unique<FakeIntervalTimer>(*this, intervalMs);
    m_timers.push_back(timer.get());
    return timer;
}

void FakeTimerService::forget(FakeIntervalTimer *timer)
{
    std::erase(m_timers, timer);
}

void FakeTimerService::advance(int ms)
{
    const std::int64_t end = m_now + ms;
    for (;;) {
        FakeIntervalTimer *next = nullptr;
        std::int64_t nextDue = std::numeric_limits<std::int64_t>::max();
        for (FakeIntervalTimer *timer : m_timers) {
            // Timers created first win ties, as the event loop delivers them in order.
            if (timer->isActive() && timer->due() < nextDue) {
                next = timer;
                nextDue = timer->due();
            }
        }
        if (!next || nextDue > end)
            break;
        m_now = std::max(m_now, nextDue);
        next->fire();
    }
    m_now = end;
}
