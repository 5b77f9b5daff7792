#include "traffic_lines.h"

#include "interval_timer.h"
#include "traffic_line.h"

TrafficLines::TrafficLines(TrafficLine &sent, TrafficLine &received, TrafficLine &status,
                           TimerService &timers)
    : m_lines{Paced{&sent, timers.createTimer(AnnouncementGapMs)},
              Paced{&received, timers.createTimer(AnnouncementGapMs)},
              Paced{&status, timers.createTimer(AnnouncementGapMs)}}
    , m_frame(timers.createTimer(FrameMs))
{
    m_frame->setTickHandler([this] { onFrame(); });
    for (Paced &paced : m_lines)
        paced.announcing->setTickHandler([this, &paced] { onAnnouncingTick(paced); });
}

TrafficLines::~TrafficLines() = default;

// The hot path of a fast hold: while the timers run, a new text is only kept.
void TrafficLines::show(Paced &paced, const QString &text)
{
    TrafficLine &line = *paced.line;
    line.setText(text);
    if (!m_frame->isActive() && line.needsRepaint() && line.repaintText())
        m_frame->start();
    if (!paced.announcing->isActive() && line.needsAnnouncing()) {
        line.announceText();
        paced.announcing->start();
    }
}

void TrafficLines::onFrame()
{
    bool painted = false;
    for (Paced &paced : m_lines) {
        if (paced.line->needsRepaint())
            painted = paced.line->repaintText() || painted;
    }
    if (!painted)
        m_frame->stop();
}

void TrafficLines::onAnnouncingTick(Paced &paced)
{
    if (paced.line->needsAnnouncing())
        paced.line->announceText();
    else
        paced.announcing->stop();
}
