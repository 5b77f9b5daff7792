#include "traffic_lines.h"

#include "interval_timer.h"
#include "traffic_line.h"

TrafficLines::TrafficLines(TrafficLine &sent, TrafficLine &received, TrafficLine &status,
                           TimerService &timers)
    : m_lines{Paced{&sent}, Paced{&received}, Paced{&status}}
    , m_frame(timers.createTimer(FrameMs))
{
    m_frame->setTickHandler([this] {
        if (!present())
            m_frame->stop();
    });
}

TrafficLines::~TrafficLines() = default;

void TrafficLines::show(Paced &paced, const QString &text)
{
    paced.line->setText(text);
    // While frames are running the next one presents it; this is the hot path of a fast hold.
    if (!m_frame->isActive() && present())
        m_frame->start();
}

bool TrafficLines::present()
{
    bool busy = false;
    for (Paced &paced : m_lines) {
        TrafficLine &line = *paced.line;
        if (line.needsRepaint()) {
            line.repaintText();
            busy = true; // no second repaint within this frame
        }
        if (paced.framesSinceAnnounced < FramesBetweenAnnouncements)
            ++paced.framesSinceAnnounced;
        if (line.needsAnnouncing() && paced.framesSinceAnnounced >= FramesBetweenAnnouncements) {
            line.announceText();
            paced.framesSinceAnnounced = 0;
        }
        busy = busy || line.needsAnnouncing() ||
               paced.framesSinceAnnounced < FramesBetweenAnnouncements;
    }
    return busy;
}
