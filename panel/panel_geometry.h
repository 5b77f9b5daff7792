#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Twips (1440 per inch) to pixels at 96 dpi, and the window's fixed dimensions.
constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest pixel; a twip count never falls exactly halfway.
constexpr int twipsToPixels(int twips)
{
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect twipsToPixels(int left, int top, int width, int height)
{
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

constexpr int kClientWidthTwips = 9495;
// The outer heights include 370 twips of title bar and borders.
constexpr int kTitleAndBordersTwips = 370;
constexpr int kCompactHeightTwips = 5350;
constexpr int kDataHeightTwips = 6645;
constexpr int kExtendedHeightTwips = 7200;
constexpr int kFullHeightTwips = 9100;

constexpr int kClientWidthPixels = twipsToPixels(kClientWidthTwips);

// The client height shown at an outer height: the client bottoms 4980, 6275, 6830 and
// 8730 twips are kept whatever the platform's title bar really takes.
constexpr int clientHeightPixels(int outerTwips)
{
    return twipsToPixels(outerTwips - kTitleAndBordersTwips);
}

// Placement at start: centred on the screen by the window's full outer size, without clamping,
// so a screen smaller than the window gives a negative edge.
inline QPoint startPosition(const QRect &screen, const QSize &fullOuterSize)
{
    const auto half = [](int screenExtent, int windowExtent) {
        const int twice = screenExtent - windowExtent;
        return (twice >= 0 ? twice + 1 : twice - 1) / 2;
    };
    return {screen.x() + half(screen.width(), fullOuterSize.width()),
            screen.y() + half(screen.height(), fullOuterSize.height())};
}
