#include "traffic_line.h"

#include "traffic_line_accessible.h"

#include <QAccessible>
#include <QPainter>
#include <QStyle>

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

void TrafficLine::repaintText()
{
    m_repaintDue = false;
    update();
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
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(m_alignment), palette(), isEnabled(),
                          m_text, QPalette::WindowText);
    if (!m_border)
        return;
    // Filled one-pixel edges rather than a pen, which straddles pixels when scaled.
    const QRect r = rect();
    for (const QRect &edge :
         {QRect(r.topLeft(), r.topRight()), QRect(r.bottomLeft(), r.bottomRight()),
          QRect(r.topLeft(), r.bottomLeft()), QRect(r.topRight(), r.bottomRight())})
        painter.fillRect(edge, Qt::black);
}
