#pragma once

#include "command_table.h"

class IntervalTimer;
class TrafficDisplay;
class Transaction;

// The press-and-hold adjusters: send at the press, repeat on Timer1 while held, stop and
// blank the traffic lines at the release. Also keeps the arrow mode that picks the arrows'
// reply and display intervals.
class Repeater {
public:
    Repeater(Transaction &transaction, IntervalTimer &repeat, IntervalTimer &replyTimeout,
             IntervalTimer &displayClear, TrafficDisplay &display);

    void press(const Adjuster &adjuster);
    void release(const Adjuster &adjuster);
    // Ends a hold whose release may never come (focus or window lost); no-op when idle.
    void releaseHeld();
    void onRepeatTick();

    // After "A-IMAGE" or MENU "ON": the arrows repeat every 200 ms with 150/190 ms timing.
    void prepareArrows();

    int arrowMode() const { return m_arrowMode; }
    bool isHolding() const { return m_held != nullptr; }

private:
    void setArrowIntervals();
    void setArrowMode(ArrowMode mode);

    Transaction &m_transaction;
    IntervalTimer &m_repeat;
    IntervalTimer &m_replyTimeout;
    IntervalTimer &m_displayClear;
    TrafficDisplay &m_display;

    int m_repeatCode = 0;
    ArrowMode m_arrowMode = ArrowsAsIs;
    const Adjuster *m_held = nullptr;
};
