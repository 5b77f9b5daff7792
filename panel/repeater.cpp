#include "repeater.h"

#include "interval_timer.h"
#include "transaction.h"

namespace {
constexpr int ReplyTimeoutAfterRelease = 500;
constexpr int DisplayClearAfterRelease = 1000;
constexpr int ArrowPeriodAfterPreparation = 200;
constexpr int ArrowPeriodAfterZoom = 5;
} // namespace

Repeater::Repeater(Transaction &transaction, IntervalTimer &repeat, IntervalTimer &replyTimeout,
                   IntervalTimer &displayClear, TrafficDisplay &display)
    : m_transaction(transaction)
    , m_repeat(repeat)
    , m_replyTimeout(replyTimeout)
    , m_displayClear(displayClear)
    , m_display(display)
{
}

void Repeater::press(const Adjuster &adjuster)
{
    m_held = &adjuster;
    if (adjuster.isArrow()) {
        setArrowIntervals();
        m_repeatCode = adjuster.repeatCode;
        m_transaction.sendCommand(adjuster.code);
        if (isHolding())
            m_repeat.start();
        return;
    }
    m_repeatCode = adjuster.repeatCode;
    m_transaction.sendCommand(adjuster.code);
    if (!isHolding())
        return; // a failed send has ended the hold already
    // Set after the send so the timers it has just started count from the new intervals.
    m_repeat.setInterval(adjuster.repeatMs);
    m_replyTimeout.setInterval(adjuster.replyTimeoutMs);
    m_displayClear.setInterval(adjuster.displayClearMs);
    m_repeat.start();
}

void Repeater::setArrowIntervals()
{
    if (m_arrowMode == ArrowsMenu) {
        m_replyTimeout.setInterval(150);
        m_displayClear.setInterval(190);
    } else if (m_arrowMode == ArrowsFast) {
        m_replyTimeout.setInterval(5);
        m_displayClear.setInterval(5);
    }
}

void Repeater::onRepeatTick()
{
    if (m_repeatCode == 0)
        return;
    m_transaction.sendCommand(repeatCommand(m_repeatCode));
}

void Repeater::release(const Adjuster &adjuster)
{
    m_repeatCode = 0;
    m_held = nullptr;
    m_repeat.stop();
    m_replyTimeout.stop();
    m_displayClear.start();
    m_display.showSent(QString());
    m_display.showReceived(QString());
    m_replyTimeout.setInterval(ReplyTimeoutAfterRelease);
    m_displayClear.setInterval(DisplayClearAfterRelease);
    m_transaction.clearRecvText();
    if (adjuster.isZoom) {
        m_repeat.setInterval(ArrowPeriodAfterZoom);
        m_arrowMode = ArrowsFast;
    }
}

void Repeater::releaseHeld()
{
    if (m_held)
        release(*m_held);
}

void Repeater::prepareArrows()
{
    m_repeat.setInterval(ArrowPeriodAfterPreparation);
    m_arrowMode = ArrowsMenu;
}
