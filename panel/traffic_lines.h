#pragma once

#include "transaction.h"

#include <array>
#include <memory>

class IntervalTimer;
class TimerService;
class TrafficLine;

// The sent-traffic, received-traffic and status lines as the window shows them. Each line takes
// its new text at once, so what it holds is always exact. A change after a quiet spell is painted
// and announced at once. A burst of changes (a 5 ms hold changes the lines 400 times a second) is
// painted about ten times a second, which is all anyone can read and spares a paint cycle per
// display frame, and its last text is painted once the lines have been still for a frame. Each line
// is announced to assistive technology at most about nine times a second, its last text included.
class TrafficLines final : public TrafficDisplay {
public:
    static constexpr int FrameMs = 16;
    // About ten a second; prime, so that a hold's repeat period never locks the paints to one
    // phase of it (a received line seen blank at every paint of a 5 ms hold).
    static constexpr int BurstPaintMs = 97;
    static constexpr int AnnouncementGapMs = 112;

    TrafficLines(TrafficLine &sent, TrafficLine &received, TrafficLine &status,
                 TimerService &timers);
    ~TrafficLines() override;

    void showSent(const QString &text) override { show(m_lines[0], text); }
    void showReceived(const QString &text) override { show(m_lines[1], text); }
    void showStatus(const QString &text) override { show(m_lines[2], text); }

private:
    struct Paced {
        TrafficLine *line;
        // Runs from an announcement for as long as the line keeps changing.
        std::unique_ptr<IntervalTimer> announcing;
    };
    void show(Paced &paced, const QString &text);
    // Repaints every line whose text is not on screen yet; false when none needed it.
    bool repaintChanged();
    void onBurstTick();
    void onStill();
    void onAnnouncingTick(Paced &paced);

    std::array<Paced, 3> m_lines;
    // Runs from a repaint for as long as lines in view keep changing.
    std::unique_ptr<IntervalTimer> m_burst;
    // Fires once the lines have not changed for a frame, to paint the end of a burst.
    std::unique_ptr<IntervalTimer> m_still;
};
