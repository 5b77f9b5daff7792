#pragma once

#include "transaction.h"

#include <array>
#include <memory>

class IntervalTimer;
class TimerService;
class TrafficLine;

// The sent-traffic, received-traffic and status lines as the window shows them. Each line takes
// its new text at once, so what it holds is always exact; it is painted at most once a display
// frame and announced to assistive technology at most about nine times a second. A change after
// a quiet spell is painted and announced at once; the last change of a burst is painted within a
// frame and announced when the line's pause between announcements is over.
class TrafficLines final : public TrafficDisplay {
public:
    static constexpr int FrameMs = 16;
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
    void onFrame();
    void onAnnouncingTick(Paced &paced);

    std::array<Paced, 3> m_lines;
    // Runs from a repaint for as long as lines in view keep changing.
    std::unique_ptr<IntervalTimer> m_frame;
};
