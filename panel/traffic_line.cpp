#include "traffic_line.h"

#include "traffic_line_accessible.h"

#include <QAccessible>
#include <QPainter>

#include <cmath>
#include <utility>

TrafficLine::TrafficLine(const QString &spokenName, QWidget *parent)
    : QWidget(parent)
    , m_spokenName(spokenName)
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    // Before anything asks for this line's interface: Qt keeps the first one it makes.
    QAccessible::installFactory(trafficLineAccessible);
}

void TrafficLine::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_repaintDue = true;
}

bool TrafficLine::repaintText()
{
    m_repaintDue = false;
    // Out of view (the data area below the compact height) Qt would still paint the line, only
    // to clip it away; coming into view paints it anyway.
    if (m_text == m_painted || !isInView())
        return false;
    update();
    return true;
}

void TrafficLine::announceText()
{
    const QString before = std::exchange(m_announced, m_text);
    if (before == m_text)
        return;
    if (QAccessible::isActive()) {
        // Removed and inserted as a whole: the bus carries the line's full new text.
        QAccessibleTextUpdateEvent event(this, 0, before, m_text);
        QAccessible::updateAccessibility(&event);
    }
    emit announced(m_text);
}

// Within the window's area: cheaper than visibleRegion() on every change of a fast hold.
bool TrafficLine::isInView() const
{
    const QWidget *top = window();
    return isVisible() && top->rect().intersects(QRect(mapTo(top, QPoint()), size()));
}

void TrafficLine::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void TrafficLine::setSingleBorder(bool on)
{
    m_border = on;
    setContentsMargins(on ? QMargins(2, 1, 1, 1) : QMargins());
    update();
}

void TrafficLine::paintEvent(QPaintEvent *)
{
    m_painted = m_text;
    QPainter painter(this);
    // A line takes turns among a few texts: laid out once each, not on every paint.
    if (m_layouts.size() > MaxLayouts)
        m_layouts.clear();
    auto layout = m_layouts.find(m_text);
    if (layout == m_layouts.end()) {
        layout = m_layouts.insert(m_text, QStaticText(m_text));
        layout->setTextFormat(Qt::PlainText);
        layout->prepare(QTransform(), font());
    }
    const QRect area = contentsRect();
    const int width = int(std::ceil(layout->size().width()));
    int left = area.left();
    if (m_alignment & Qt::AlignHCenter)
        left += (area.width() - width) / 2;
    else if (m_alignment & Qt::AlignRight)
        left = area.right() + 1 - width;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawStaticText(left, area.top(), *layout);
    if (!m_border)
        return;
    // Filled one-pixel edges rather than a pen, which straddles pixels when scaled.
    const QRect r = rect();
    for (const QRect &edge :
         {QRect(r.topLeft(), r.topRight()), QRect(r.bottomLeft(), r.bottomRight()),
          QRect(r.topLeft(), r.bottomLeft()), QRect(r.topRight(), r.bottomRight())})
        painter.fillRect(edge, Qt::black);
}
