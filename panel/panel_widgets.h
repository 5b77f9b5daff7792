#pragma once

#include "layout_table.h"

#include <QColor>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <optional>
#include <utility>

class QPainter;

// The panel's fonts: G (fixed pitch) and PG (proportional) with fallbacks for systems without the
// MS fonts.
QFont panelFont(const layout::FontSpec &wanted);
// The panel's colours; an invalid QColor for Colour::Default.
QColor panelColour(layout::Colour colour);

// A push button drawn in its own background colour (QPalette::Button) with its caption
// centred. A caption wider than the button wraps onto further lines; one that still does not
// fit is drawn in a smaller size rather than clipped.
class PanelButton : public QPushButton {
    Q_OBJECT
public:
    explicit PanelButton(const QString &caption, QWidget *parent = nullptr);

    // The area inside the bevel where the caption is drawn.
    QRect captionArea() const;
    // The font the caption is drawn in, and the bounding box of its wrapped text.
    QFont captionFont() const;
    QRect captionBounds() const;
    // Draws the fitted caption into area as paintEvent() does, with the painter's pen.
    void drawCaption(QPainter &painter, const QRect &area) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct CaptionFit {
        QFont font;
        int flags;
        QRect bounds;
    };
    CaptionFit fitCaption() const;
    CaptionFit computeCaptionFit() const;

    // Fitting tries font sizes one by one; a button paints on every press, so keep the answer
    // for as long as its caption, font and size stay the same.
    struct FitKey {
        QString caption;
        QFont font;
        QSize size;
        bool operator==(const FitKey &) const = default;
    };
    mutable std::optional<std::pair<FitKey, CaptionFit>> m_fitCache;
};

// Static text on an opaque background, optionally with a thin single border.
class PanelLabel : public QLabel {
    Q_OBJECT
public:
    explicit PanelLabel(const QString &caption, QWidget *parent = nullptr);
    void setSingleBorder(bool on);
    bool hasSingleBorder() const { return m_border; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_border = false;
};

// A plain untitled group box: a silver area with an etched outline.
class PanelFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit PanelFrame(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A straight horizontal or vertical line, drawn beneath the controls.
class PanelLine : public QWidget {
    Q_OBJECT
public:
    PanelLine(const QLine &line, int widthPixels, const QColor &colour, QWidget *parent = nullptr);
    QLine line() const { return m_line; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLine m_line;
    QColor m_colour;
};

// The static picture, shown unscaled at its top-left corner.
class PanelPicture : public QLabel {
    Q_OBJECT
public:
    explicit PanelPicture(const QPixmap &picture, QWidget *parent = nullptr);
};
