#include "traffic_lines.h"

#include "interval_timer.h"
#include "traffic_line.h"

TrafficLines::TrafficLines(TrafficLine &sent, TrafficLine &received, TrafficLine &status,
                           TimerService &timers)
    : m_lines{Paced{&sent, timers.createTimer(AnnouncementGapMs)},
              Paced{&received, timers.createTimer(AnnouncementGapMs)},
              Paced{&status, timers.createTimer(AnnouncementGapMs)}}
    , m_burst(timers.createTimer(BurstPaintMs))
    , m_still(timers.createTimer(FrameMs))
{
    m_burst->setTickHandler([this] { onBurstTick(); });
    m_still->setTickHandler([this] { onStill(); });
    for (Paced &paced : m_lines)
        paced.announcing->setTickHandler([this, &paced] { onAnnouncingTick(paced); });
}

TrafficLines::~TrafficLines() = default;

// The hot path of a fast hold: while the timers run, a new text is only kept.
void TrafficLines::show(Paced &paced, const QString &text)
{
    TrafficLine &line = *paced.line;
    line.setText(text);
    if (line.needsRepaint()) {
        if (!m_burst->isActive()) {
            if (line.repaintText())
                m_burst->start();
        } else {
            m_still->setInterval(FrameMs); // restarts a running count
            m_still->start();
        }
    }
    if (!paced.announcing->isActive() && line.needsAnnouncing()) {
        line.announceText();
        paced.announcing->start();
    }
}

bool TrafficLines::repaintChanged()
{
    bool painted = false;
    for (Paced &paced : m_lines) {
        if (paced.line->needsRepaint())
            painted = paced.line->repaintText() || painted;
    }
    return painted;
}

void TrafficLines::onBurstTick()
{
    if (!repaintChanged())
        m_burst->stop();
}

void TrafficLines::onStill()
{
    m_still->stop();
    // The next paint of the cadence comes a full period after this one, never a moment later.
    if (repaintChanged())
        m_burst->setInterval(BurstPaintMs);
}

void TrafficLines::onAnnouncingTick(Paced &paced)
{
    if (paced.line->needsAnnouncing())
        paced.line->announceText();
    else
        paced.announcing->stop();
}
