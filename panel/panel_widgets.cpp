#include "panel_widgets.h"

#include <QGuiApplication>
#include <QPainter>

QFont panelFont(const layout::FontSpec &wanted)
{
    QFont font;
    if (wanted.face == layout::Face::PG) {
        font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                          QStringLiteral("sans-serif")});
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                          QStringLiteral("monospace")});
        font.setStyleHint(QFont::TypeWriter);
    }
    font.setPointSizeF(wanted.face == layout::Face::Window ? 9 : wanted.points);
    font.setWeight(wanted.bold ? QFont::Bold : QFont::Normal);
    return font;
}

QColor panelColour(layout::Colour colour)
{
    using enum layout::Colour;
    switch (colour) {
    case Default:
        return {};
    case Black:
        return {0, 0, 0};
    case Silver:
        return {192, 192, 192};
    case Cyan:
        return {192, 255, 255};
    case Pink:
        return {255, 192, 192};
    case Green:
        return {192, 255, 192};
    case Blue:
        return {192, 192, 255};
    case Peach:
        return {255, 224, 192};
    case Violet:
        return {128, 128, 255};
    case Orange:
        return {255, 128, 0};
    case Teal:
        return {0, 192, 192};
    case Apricot:
        return {255, 192, 128};
    case White:
        return {255, 255, 255};
    case Red:
        return {255, 0, 0};
    case DarkRed:
        return {192, 0, 0};
    case ButtonFace:
        return QGuiApplication::palette().color(QPalette::Button);
    }
    return {};
}

namespace {

const QColor kHighlight(255, 255, 255);
const QColor kShadow(128, 128, 128);
const QColor kDarkShadow(0, 0, 0);

constexpr int kBevelPixels = 2;
constexpr qreal kSmallestCaptionPoints = 6;

// Edges are filled one-pixel rectangles, not pen strokes: scaled by any factor a rectangle still
// covers exactly its own pixels, where a scaled 1-pixel pen straddles them and leaves a stripe of
// the face colour outside the edge.
void fillSpan(QPainter &painter, QPoint from, QPoint to, const QColor &colour)
{
    painter.fillRect(QRect(from, to), colour);
}

void fillRing(QPainter &painter, const QRect &rect, const QColor &colour)
{
    fillSpan(painter, rect.topLeft(), rect.topRight(), colour);
    fillSpan(painter, rect.bottomLeft(), rect.bottomRight(), colour);
    fillSpan(painter, rect.topLeft(), rect.bottomLeft(), colour);
    fillSpan(painter, rect.topRight(), rect.bottomRight(), colour);
}

} // namespace

PanelButton::PanelButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect PanelButton::captionArea() const
{
    return rect().adjusted(kBevelPixels, kBevelPixels, -kBevelPixels, -kBevelPixels);
}

QFont PanelButton::captionFont() const
{
    return fitCaption().font;
}
QRect PanelButton::captionBounds() const
{
    return fitCaption().bounds;
}

PanelButton::CaptionFit PanelButton::fitCaption() const
{
    FitKey key{text(), font(), size()};
    if (!m_fitCache || m_fitCache->first != key)
        m_fitCache.emplace(std::move(key), computeCaptionFit());
    return m_fitCache->second;
}

PanelButton::CaptionFit PanelButton::computeCaptionFit() const
{
    const QRect area = captionArea();
    QFont font = this->font();
    for (;;) {
        const QFontMetrics metrics(font, this);
        QRect bounds;
        for (const int wrap : {int(Qt::TextWordWrap), int(Qt::TextWrapAnywhere)}) {
            const int flags = Qt::AlignCenter | wrap;
            bounds = metrics.boundingRect(area, flags, text());
            if (area.contains(bounds))
                return {font, flags, bounds};
        }
        if (font.pointSizeF() <= kSmallestCaptionPoints)
            return {font, Qt::AlignCenter | Qt::TextWrapAnywhere, bounds};
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
}

void PanelButton::drawCaption(QPainter &painter, const QRect &area) const
{
    const CaptionFit fit = fitCaption();
    painter.setFont(fit.font);
    // Unclipped: a caption that ever overflowed would rather cover the bevel than lose letters.
    painter.drawText(area, fit.flags | Qt::TextDontClip, text());
}

void PanelButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(r, face);

    const int right = r.right();
    const int bottom = r.bottom();
    const bool down = isDown() || isChecked();
    if (down) {
        fillRing(painter, r, kDarkShadow);
        fillRing(painter, r.adjusted(1, 1, -1, -1), kShadow);
    } else {
        fillSpan(painter, {0, 0}, {right - 1, 0}, kHighlight);
        fillSpan(painter, {0, 0}, {0, bottom - 1}, kHighlight);
        fillSpan(painter, {0, bottom}, {right, bottom}, kDarkShadow);
        fillSpan(painter, {right, 0}, {right, bottom}, kDarkShadow);
        fillSpan(painter, {1, 1}, {right - 2, 1}, face.lighter(110));
        fillSpan(painter, {1, 1}, {1, bottom - 2}, face.lighter(110));
        fillSpan(painter, {1, bottom - 1}, {right - 1, bottom - 1}, kShadow);
        fillSpan(painter, {right - 1, 1}, {right - 1, bottom - 1}, kShadow);
    }

    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    drawCaption(painter, down ? captionArea().translated(1, 1) : captionArea());

    if (hasFocus()) {
        painter.setPen(QPen(kDarkShadow, 1, Qt::DotLine));
        painter.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

PanelLabel::PanelLabel(const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void PanelLabel::setSingleBorder(bool on)
{
    m_border = on;
    setContentsMargins(on ? QMargins(2, 1, 1, 1) : QMargins());
    update();
}

void PanelLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!m_border)
        return;
    QPainter painter(this);
    fillRing(painter, rect(), kDarkShadow);
}

PanelFrame::PanelFrame(QWidget *parent)
    : QGroupBox(parent)
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void PanelFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    fillRing(painter, r.adjusted(0, 0, -1, -1), kShadow);
    fillRing(painter, r.adjusted(1, 1, 0, 0), kHighlight);
}

PanelLine::PanelLine(const QLine &line, int widthPixels, const QColor &colour, QWidget *parent)
    : QWidget(parent)
    , m_line(line)
    , m_colour(colour)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // The pen is centred on the line: widthPixels / 2 either side, the square ends included.
    const int before = widthPixels / 2;
    const int after = widthPixels - before;
    setGeometry(QRect(
        QPoint(std::min(line.x1(), line.x2()) - before, std::min(line.y1(), line.y2()) - before),
        QPoint(std::max(line.x1(), line.x2()) + after - 1,
               std::max(line.y1(), line.y2()) + after - 1)));
}

void PanelLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
}

PanelPicture::PanelPicture(const QPixmap &picture, QWidget *parent)
    : QLabel(parent)
{
    setPixmap(picture);
    setScaledContents(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::NoFocus);
}
