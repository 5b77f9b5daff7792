#include "qt_timer_service.h"

#include <QTimer>

namespace {

class QtIntervalTimer final : public IntervalTimer {
public:
    explicit QtIntervalTimer(int intervalMs)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(intervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }

    // QTimer::setInterval restarts an active timer with the new interval.
    void setInterval(int ms) override { m_timer.setInterval(ms); }
    int interval() const override { return m_timer.interval(); }
    void start() override
    {
        if (!m_timer.isActive())
            m_timer.start();
    }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<IntervalTimer> QtTimerService::createTimer(int intervalMs)
{
    return std::make_unique<QtIntervalTimer>(intervalMs);
}
