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

QFont PanelButton::captionFont() const { return fitCaption().font; }
QRect PanelButton::captionBounds() const { return fitCaption().bounds; }

PanelButton::CaptionFit PanelButton::fitCaption() const
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
        painter.setPen(kDarkShadow);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.setPen(kShadow);
        painter.drawRect(r.adjusted(1, 1, -2, -2));
    } else {
        painter.setPen(kHighlight);
        painter.drawLine(0, 0, right - 1, 0);
        painter.drawLine(0, 0, 0, bottom - 1);
        painter.setPen(kDarkShadow);
        painter.drawLine(0, bottom, right, bottom);
        painter.drawLine(right, 0, right, bottom);
        painter.setPen(face.lighter(110));
        painter.drawLine(1, 1, right - 2, 1);
        painter.drawLine(1, 1, 1, bottom - 2);
        painter.setPen(kShadow);
        painter.drawLine(1, bottom - 1, right - 1, bottom - 1);
        painter.drawLine(right - 1, 1, right - 1, bottom - 1);
    }

    const CaptionFit fit = fitCaption();
    painter.setFont(fit.font);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::ButtonText));
    const QRect area = down ? captionArea().translated(1, 1) : captionArea();
    painter.drawText(area, fit.flags, text());

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
    painter.setPen(kDarkShadow);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
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
    painter.setPen(kShadow);
    painter.drawRect(r.adjusted(0, 0, -2, -2));
    painter.setPen(kHighlight);
    painter.drawRect(r.adjusted(1, 1, -1, -1));
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
    setGeometry(QRect(QPoint(std::min(line.x1(), line.x2()) - before,
                             std::min(line.y1(), line.y2()) - before),
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
