#include "layout_table.h"

#include <array>

namespace layout {
namespace {

using enum Kind;
using enum Colour;

constexpr FontSpec Win{Face::Window, 9, false};
constexpr FontSpec G9B{Face::G, 9, true};
constexpr FontSpec G825{Face::G, 8.25, false};
constexpr FontSpec G825B{Face::G, 8.25, true};
constexpr FontSpec G975{Face::G, 9.75, false};
constexpr FontSpec G975B{Face::G, 9.75, true};
constexpr FontSpec PG9{Face::PG, 9, false};
constexpr FontSpec PG9B{Face::PG, 9, true};
constexpr FontSpec PG975B{Face::PG, 9.75, true};

constexpr const char *Window = nullptr;

// clang-format off
constexpr std::array kControls = std::to_array<ControlSpec>({
//   name         in          kind     caption           left   top   width height colour      text     font    notes           tab
    // Upper area
    {"Frame1",    Window,     Frame,   "",                120,  240,  1695,  975, Silver,     Black,   Win,    NoNote,           0},
    {"Label1",    "Frame1",   Label,   "POWER",           240,  240,  1095,  255, Silver,     DarkRed, G9B,    Centred,          2},
    {"Command17", "Frame1",   Button,  "ON",              120,  600,   615,  300, Green,      Black,   PG9B,   NoNote,           1},
    {"Command18", "Frame1",   Button,  "OFF",             960,  600,   615,  300, Pink,       Black,   PG9B,   NoNote,          27},
    {"Frame2",    Window,     Frame,   "",               2520,  240,  2175,  975, Silver,     Black,   Win,    NoNote,           3},
    {"Label2",    "Frame2",   Label,   "INPUT MODE SET",  120,  240,  1935,  255, Silver,     Black,   G9B,    Centred,          4},
    {"Command27", "Frame2",   Button,  "PC1",             120,  600,   495,  300, Cyan,       Black,   PG9B,   NoNote,          36},
    {"Command28", "Frame2",   Button,  "PC2",             720,  600,   495,  300, Cyan,       Black,   PG9B,   NoNote,          37},
    {"Command29", "Frame2",   Button,  "Video",          1320,  600,   735,  300, Cyan,       Black,   PG9B,   NoNote,          38},
    {"Frame6",    Window,     Frame,   "",               5040,  240,  1695,  975, Silver,     Black,   Win,    NoNote,          14},
    {"Label7",    "Frame6",   Label,   "MENU",            360,  240,   975,  255, Silver,     Black,   G9B,    Centred,         15},
    {"Command23", "Frame6",   Button,  "ON",              120,  600,   615,  300, Green,      Black,   PG9B,   NoNote,          32},
    {"Command24", "Frame6",   Button,  "OFF",             960,  600,   615,  300, Pink,       Black,   PG9B,   NoNote,          33},
    {"Image1",    Window,     Picture, "",               8160,  120,  1200,  390, Default,    Default, Win,    NoNote,          -1},
    {"Frame3",    Window,     Frame,   "",                120, 1440,  1695,  855, Silver,     Black,   Win,    NoNote,           8},
    {"Label4",    "Frame3",   Label,   "SOUND MUTE",      120,  195,  1455,  300, Silver,     Black,   G9B,    Centred,          9},
    {"Command19", "Frame3",   Button,  "ON",              120,  480,   615,  300, Green,      Black,   PG9B,   NoNote,          28},
    {"Command20", "Frame3",   Button,  "OFF",             960,  480,   615,  300, Pink,       Black,   PG9B,   NoNote,          29},
    {"Frame4",    Window,     Frame,   "",               2520, 1440,  1695,  855, Silver,     Black,   Win,    NoNote,          10},
    {"Label5",    "Frame4",   Label,   "NO SHOW",         360,  210,  1095,  285, Silver,     Black,   G9B,    Centred,         11},
    {"Command21", "Frame4",   Button,  "ON",              120,  480,   615,  300, Green,      Black,   PG9B,   NoNote,          30},
    {"Command22", "Frame4",   Button,  "OFF",             960,  480,   615,  300, Pink,       Black,   PG9B,   NoNote,          31},
    {"Frame7",    Window,     Frame,   "",               5040, 1440,  1695,  855, Silver,     Black,   Win,    NoNote,          22},
    {"Label8",    "Frame7",   Label,   "FREEZE",          240,  210,  1215,  285, Silver,     Black,   G9B,    Centred,         23},
    {"Command25", "Frame7",   Button,  "ON",              120,  480,   615,  300, Green,      Black,   PG9B,   NoNote,          34},
    {"Command26", "Frame7",   Button,  "OFF",             960,  480,   615,  300, Pink,       Black,   PG9B,   NoNote,          35},
    {"Frame5",    Window,     Frame,   "",               7440, 1440,  1815,  855, Silver,     Black,   Win,    NoNote,          12},
    {"Label6",    "Frame5",   Label,   "Screen Size",     120,  210,  1575,  285, Silver,     Black,   G9B,    Centred,         13},
    {"Command31", "Frame5",   Button,  "Normal",          120,  480,   855,  300, Cyan,       Black,   PG9,    NoNote,          39},
    {"Command32", "Frame5",   Button,  "Full",           1080,  480,   615,  300, Cyan,       Black,   PG9,    NoNote,          40},

    // Middle area
    {"Command5",  Window,     Button,  "↑",              1200, 2520,   855,  375, Peach,      Black,   PG9B,   NoNote,          17},
    {"Command9",  Window,     Button,  "←",               240, 3000,   855,  375, Peach,      Black,   PG9B,   NoNote,          21},
    {"Command6",  Window,     Button,  "SELECT",         1200, 3000,   855,  375, Orange,     Black,   Win,    NoNote,          18},
    {"Command8",  Window,     Button,  "→",              2160, 3000,   855,  375, Peach,      Black,   PG9B,   NoNote,          20},
    {"Command7",  Window,     Button,  "↓",              1200, 3480,   855,  375, Peach,      Black,   PG9B,   NoNote,          19},
    {"Label3",    Window,     Label,   "VOL",            3600, 2520,   495,  255, Silver,     Black,   G9B,    Centred,          7},
    {"Command1",  Window,     Button,  "+",              3600, 2880,   375,  255, Apricot,    Black,   G9B,    NoNote,           5},
    {"Command2",  Window,     Button,  "-",              3600, 3240,   375,  255, Apricot,    Black,   G9B,    NoNote,           6},
    {"Label13",   Window,     Label,   "Brightness",     4560, 2520,   975,  255, Silver,     Black,   Win,    NoNote,          53},
    {"Command15", Window,     Button,  "+",              4800, 2880,   375,  255, Cyan,       Black,   Win,    NoNote,          51},
    {"Command35", Window,     Button,  "-",              4800, 3240,   375,  255, Cyan,       Black,   Win,    NoNote,          52},
    {"Label17",   Window,     Label,   "D.Zoom",         6360, 2520,   735,  255, Silver,     Black,   Win,    NoNote,          60},
    {"Command48", Window,     Button,  "+",              6480, 2880,   375,  255, Cyan,       Black,   PG9,    NoNote,          58},
    {"Command49", Window,     Button,  "-",              6480, 3240,   375,  255, Cyan,       Black,   Win,    NoNote,          59},
    {"Label18",   Window,     Label,   "Keystone",       7320, 2520,   855,  255, Silver,     Black,   Win,    NoNote,          63},
    {"Command50", Window,     Button,  "+",              7440, 2880,   375,  255, Cyan,       Black,   Win,    NoNote,          61},
    {"Command51", Window,     Button,  "-",              7440, 3240,   375,  255, Cyan,       Black,   Win,    NoNote,          62},
    {"Command13", Window,     Button,  "A-IMAGE",        8400, 2760,   975,  250, Teal,       Black,   Win,    NoNote,          24},
    {"Command30", Window,     Button,  "IMAGE",          8400, 3120,   975,  255, Blue,       Black,   Win,    NoNote,          65},
    {"Command14", Window,     Button,  "P-TIMER",        8400, 3360,   975,  250, Blue,       Black,   Win,    NoNote,          25},
    {"Command3",  Window,     Button,  "DISPLAY CLEAR",  8400, 3600,   975,  492, Blue,       Black,   Win,    NoNote,          16},
    {"Command16", Window,     Button,  "END",            8400, 4320,   975,  375, Silver,     Black,   G9B,    NoNote,          26},

    // Lower area
    {"Command4",  Window,     Button,  "STAND",           240, 4080,   975,  255, Cyan,       Black,   Win,    NoNote,          69},
    {"Command10", Window,     Button,  "REAL",           1200, 4080,   975,  255, Cyan,       Black,   Win,    NoNote,          70},
    {"Command11", Window,     Button,  "CINEMA",         2160, 4080,   975,  255, Cyan,       Black,   Win,    NoNote,          71},
    {"Command39", Window,     Button,  "IMAGE1",          240, 4320,   975,  255, Cyan,       Black,   Win,    NoNote,          72},
    {"Command40", Window,     Button,  "IMAGE2",         1200, 4320,   975,  255, Cyan,       Black,   Win,    NoNote,          73},
    {"Command41", Window,     Button,  "IMAGE3",         2160, 4320,   975,  255, Cyan,       Black,   Win,    NoNote,          74},
    {"Command42", Window,     Button,  "IMAGE4",          240, 4560,   975,  255, Cyan,       Black,   Win,    NoNote,          75},
    {"Command12", Window,     Button,  "B.Board",        1200, 4560,   975,  255, Cyan,       Black,   Win,    NoNote,          91},
    {"Command37", Window,     Button,  "Dynamic",        2160, 4560,   975,  255, Cyan,       Black,   Win,    NoNote,          93},
    {"Command33", Window,     Button,  "COM",            4080, 4200,  1815,  375, ButtonFace, Black,   PG9,    NoNote,          41},
    {"Frame8",    Window,     Frame,   "",               3480, 3600,  2775, 1185, Silver,     Black,   Win,    HiddenAtStart,   42},
    {"Option1",   "Frame8",   Option,  "COM1",            240,  240,  1215,  255, Silver,     Black,   G9B,    NoNote,          43},
    {"Option2",   "Frame8",   Option,  "COM2",           1560,  240,  1095,  255, Silver,     Black,   G9B,    NoNote,          44},
    {"Frame13",   "Frame8",   Frame,   "",                120,  480,  2535,  615, Silver,     Black,   Win,    NoNote,          66},
    {"Option9",   "Frame13",  Option,  "19200",           120,  240,  1095,  255, Silver,     Black,   G9B,    SelectedAtStart, 67},
    {"Option10",  "Frame13",  Option,  "9600",           1440,  240,   975,  300, Silver,     Black,   G9B,    NoNote,          68},
    {"Frame10",   Window,     Frame,   "",               6480, 3720,  1695,  975, Silver,     Black,   Win,    NoNote,          94},
    {"Label14",   "Frame10",  Label,   "FAN MODE",        240,  240,  1335,  255, Silver,     Black,   G9B,    Centred,         97},
    {"Command38", "Frame10",  Button,  "L1",              120,  600,   735,  300, Green,      Black,   Win,    NoNote,          95},
    {"Command43", "Frame10",  Button,  "L2",              960,  600,   615,  300, Pink,       Black,   Win,    NoNote,          96},

    // First hidden band
    {"Frame9",    Window,     Frame,   "",                 45, 4920,  6312, 1290, Silver,     Black,   Win,    NoNote,          45},
    {"Label9",    "Frame9",   Label,   "TXD",             105,  210,   390,  285, Silver,     Black,   Win,    RightAligned,    46},
    {"Label11",   "Frame9",   Label,   "",                600,  180,  5610,  300, White,      Black,   PG975B, SingleBorder,    48},
    {"Label10",   "Frame9",   Label,   "RXD",              75,  555,   450,  300, Silver,     Black,   Win,    RightAligned,    47},
    {"Label12",   "Frame9",   Label,   "",                600,  540,  5616,  300, White,      Black,   PG975B, SingleBorder,    49},
    {"Label23",   "Frame9",   Label,   "STATUS",          120,  960,   735,  225, Silver,     Black,   G825,   NoNote,          90},
    {"Label22",   "Frame9",   Label,   "",                930,  915,  5295,  300, White,      Red,     PG9B,   SingleBorder,    89},
    {"Command34", Window,     Button,  "データを表示する", 6600, 5040,  1200,  375, Silver,     Black,   PG9,    HiddenAtStart,   50},
    {"Command44", Window,     Button,  "STATUS",         6480, 5640,   975,  255, Cyan,       Black,   G825B,  NoNote,          54},
    {"Command45", Window,     Button,  "MODE",           6480, 5880,   975,  255, Cyan,       Black,   G825B,  NoNote,          55},
    {"Command46", Window,     Button,  "L-TIME",         7440, 5640,   975,  255, Cyan,       Black,   G825B,  NoNote,          56},
    {"Command47", Window,     Button,  "SETTING",        7440, 5880,   975,  255, Cyan,       Black,   G825B,  NoNote,          57},
    {"Command54", Window,     Button,  "TEMP",           8400, 5640,   975,  252, Cyan,       Black,   G825B,  NoNote,          64},
    {"Command55", Window,     Button,  "L-MODE",         8400, 5880,   975,  255, Cyan,       Black,   G9B,    NoNote,         100},

    // Second hidden band
    {"Frame14",   Window,     Frame,   "",                120, 6735,  5415, 1080, Silver,     Black,   Win,    NoNote,          76},
    {"Label15",   "Frame14",  Label,   "PC1",             120,  240,   735,  255, Silver,     Black,   G9B,    NoNote,          81},
    {"Command64", "Frame14",  Button,  "RGB",             960,  240,   975,  255, Cyan,       Black,   Win,    NoNote,          77},
    {"Command52", "Frame14",  Button,  "Scart",          1920,  240,  1095,  255, Cyan,       Black,   Win,    NoNote,          98},
    {"Command53", "Frame14",  Button,  "Component",      3000,  240,  1215,  255, Cyan,       Black,   Win,    NoNote,          99},
    {"Label16",   "Frame14",  Label,   "PC2",             120,  480,   735,  255, Silver,     Black,   G9B,    NoNote,          82},
    {"Command72", "Frame14",  Button,  "RGB",             960,  480,   975,  255, Cyan,       Black,   Win,    NoNote,          79},
    {"Label24",   "Frame14",  Label,   "Video",           120,  720,   855,  255, Silver,     Black,   G9B,    NoNote,          83},
    {"Command82", "Frame14",  Button,  "Video",           960,  720,   975,  255, Cyan,       Black,   Win,    NoNote,          80},
    {"Command69", "Frame14",  Button,  "S-Video",        1920,  720,  1095,  255, Cyan,       Black,   Win,    NoNote,          78},
    {"Command36", Window,     Button,  "C02",            7560, 6840,   615,  255, Pink,       Black,   G9B,    NoNote,          92},
    {"Frame15",   Window,     Frame,   "",                120, 8040,  7215,  570, Silver,     Black,   Win,    NoNote,          84},
    {"Label26",   "Frame15",  Label,   "CMD",             120,  240,   495,  255, Silver,     Black,   G975,   NoNote,          88},
    {"Text1",     "Frame15",  TextBox, "",                600,  165,  5055,  345, Default,    Default, G975B,  NoNote,          85},
    {"Command95", "Frame15",  Button,  "SEND",           5760,  240,   735,  255, Green,      Black,   G9B,    NoNote,          86},
    {"Command96", "Frame15",  Button,  "CLS",            6480,  240,   615,  255, Pink,       Black,   G9B,    NoNote,          87},
});

constexpr std::array kLines = std::to_array<LineSpec>({
    {"Line1",   1080, 2400, 1080, 2880},
    {"Line2",   2160, 2400, 2160, 2880},
    {"Line3",   3120, 2880, 3120, 3480},
    {"Line4",   2160, 3480, 2160, 3960},
    {"Line5",   1080, 3480, 1080, 3960},
    {"Line6",    120, 2880,  120, 3480},
    {"Line7",   1080, 2400, 2160, 2400},
    {"Line8",    120, 2880, 1080, 2880},
    {"Line9",   2160, 2880, 3120, 2880},
    {"Line10",   120, 3480, 1080, 3480},
    {"Line11",  1080, 3960, 2160, 3960},
    {"Line12",  2160, 3480, 3120, 3480},
});

constexpr std::array kStackingOrder = std::to_array<const char *>({
    "Command55", "Frame10", "Command43", "Command38", "Command37", "Command36", "Command12",
    "Frame15", "Command96", "Command95", "Text1", "Frame14", "Command53", "Command52",
    "Command82", "Command72", "Command69", "Command64", "Command42", "Command41", "Command40",
    "Command39", "Command11", "Command10", "Command4", "Command30", "Command54", "Command51",
    "Command50", "Command49", "Command48", "Command47", "Command46", "Command45", "Command44",
    "Command35", "Command15", "Command34", "Frame9", "Frame8", "Frame13", "Option10", "Option9",
    "Option2", "Option1", "Command33", "Command16", "Command14", "Command13", "Frame7",
    "Command26", "Command25", "Command9", "Command8", "Command7", "Command6", "Command5",
    "Command3", "Frame6", "Command24", "Command23", "Frame5", "Command32", "Command31", "Frame4",
    "Command22", "Command21", "Frame3", "Command20", "Command19", "Command2", "Command1",
    "Frame2", "Command29", "Command28", "Command27", "Frame1", "Command18", "Command17",
});

constexpr std::array kSpokenNames = std::to_array<SpokenName>({
    {"Command5",  "Up",                                          false},
    {"Command7",  "Down",                                        false},
    {"Command9",  "Left",                                        false},
    {"Command8",  "Right",                                       false},
    {"Command1",  "VOL +",                                       false},
    {"Command2",  "VOL -",                                       false},
    {"Command15", "Brightness +",                                false},
    {"Command35", "Brightness -",                                false},
    {"Command48", "D.Zoom +",                                    false},
    {"Command49", "D.Zoom -",                                    false},
    {"Command50", "Keystone +",                                  false},
    {"Command51", "Keystone -",                                  false},
    {"Image1",    "ZRA70 logo (double click for the full view)", false},
    {"Text1",     "Command text",                                false},
    {"Label11",   "Sent traffic",                                true},
    {"Label12",   "Received traffic",                            true},
    {"Label22",   "Status",                                      true},
});
// clang-format on

} // namespace

std::span<const ControlSpec> controls()
{
    return kControls;
}
std::span<const LineSpec> lines()
{
    return kLines;
}
std::span<const char *const> stackingOrder()
{
    return kStackingOrder;
}
std::span<const SpokenName> spokenNames()
{
    return kSpokenNames;
}

} // namespace layout
