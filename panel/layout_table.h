#pragma once

#include <span>

// The window as data: one row per control, the decorative lines and the
// stacking order. Positions and sizes are in twips; a control inside a frame is placed relative
// to the frame's outer top-left corner.
namespace layout {

enum class Kind { Button, Label, Frame, Option, TextBox, Picture };

// The panel's colour names. Black is the text colour wherever a row gives none;
// Default leaves the platform's colour (the text box).
enum class Colour {
    Default,
    Black,
    Silver,
    Cyan,
    Pink,
    Green,
    Blue,
    Peach,
    Violet,
    Orange,
    Teal,
    Apricot,
    White,
    Red,
    DarkRed,
    ButtonFace,
};

// G = "ＭＳ ゴシック", PG = "ＭＳ Ｐゴシック" (proportional);
// Window = an empty font cell: the window font, G 9 regular.
enum class Face { Window, G, PG };

struct FontSpec {
    Face face;
    double points;
    bool bold;
};

// The Notes column.
enum Note : unsigned {
    NoNote = 0,
    Centred = 1u << 0,
    RightAligned = 1u << 1,
    SingleBorder = 1u << 2,
    HiddenAtStart = 1u << 3,
    SelectedAtStart = 1u << 4,
};

struct ControlSpec {
    const char *name;
    const char *container; // nullptr: the window's client area
    Kind kind;
    const char *caption; // UTF-8
    int left, top, width, height;
    Colour background;
    Colour text;
    FontSpec font;
    unsigned notes;
    int tab; // place in the focus order; -1 for controls outside it
};

struct LineSpec {
    const char *name;
    int x1, y1, x2, y2; // on the client area
};

// What a screen reader says for a control whose caption does not tell what it does, and for the
// picture, the command box and the three text lines. Other controls are spoken by their caption.
struct SpokenName {
    const char *name;
    const char *spoken;
    bool announcesText; // a traffic or status line (TrafficLine): its text is read out as well
};

constexpr int kLineWidthPixels = 2;
constexpr Colour kLineColour = Colour::Violet;

std::span<const ControlSpec> controls();
std::span<const LineSpec> lines();
// Buttons, frames, option buttons and the text box, topmost first.
std::span<const char *const> stackingOrder();
std::span<const SpokenName> spokenNames();

} // namespace layout
