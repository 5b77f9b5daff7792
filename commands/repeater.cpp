#include "repeater.h"

#include "interval_timer.h"
#include "transaction.h"

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
    if (const ArrowModeTiming *mode = arrowModeTiming(m_arrowMode)) {
        m_replyTimeout.setInterval(mode->timing.replyTimeoutMs);
        m_displayClear.setInterval(mode->timing.displayClearMs);
    }
}

void Repeater::setArrowMode(ArrowMode mode)
{
    m_repeat.setInterval(arrowModeTiming(mode)->periodMs);
    m_arrowMode = mode;
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
    m_replyTimeout.setInterval(AfterRelease.replyTimeoutMs);
    m_displayClear.setInterval(AfterRelease.displayClearMs);
    m_transaction.clearRecvText();
    if (adjuster.isZoom)
        setArrowMode(ArrowsFast);
}

void Repeater::releaseHeld()
{
    if (m_held)
        release(*m_held);
}

void Repeater::prepareArrows()
{
    setArrowMode(ArrowsMenu);
}
