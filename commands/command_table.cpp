#include "command_table.h"

#include <algorithm>
#include <array>

namespace {

using enum TimingKind;

constexpr ReplyTiming LongReplyTiming{2000, 2500};
constexpr ReplyTiming InputSwitchTiming{5000, 5500};

constexpr bool Query = true;
constexpr bool Action = false;

// clang-format off
constexpr std::array commandTable = std::to_array<CommandButton>({
//   button       code                          timing            name                  what it does
    {"Command17", "C00",                        Plain,            "power-on",           "Switch the projector on", Action},
    {"Command18", "C01",                        Plain,            "power-off",          "Switch the projector to stand-by", Action},
    {"Command27", "C05",                        Plain,            "input-pc1",          "Select input PC1", Action},
    {"Command28", "C06",                        Plain,            "input-pc2",          "Select input PC2", Action},
    {"Command29", "C07",                        Plain,            "input-video",        "Select the video input", Action},
    {"Command19", "C0B",                        Plain,            "mute-on",            "Mute the sound", Action},
    {"Command20", "C0C",                        Plain,            "mute-off",           "Restore the sound", Action},
    {"Command21", "C0D",                        Plain,            "no-show-on",         "Blank the picture", Action},
    {"Command22", "C0E",                        Plain,            "no-show-off",        "Show the picture again", Action},
    {"Command23", "C1C",                        ArrowPreparation, "menu-on",            "Open the on-screen menu", Action},
    {"Command24", "C1D",                        Plain,            "menu-off",           "Close the on-screen menu", Action},
    {"Command25", "C43",                        Plain,            "freeze-on",          "Freeze the picture", Action},
    {"Command26", "C44",                        Plain,            "freeze-off",         "Release the frozen picture", Action},
    {"Command31", "C0F",                        Plain,            "screen-size-normal", "Normal screen size", Action},
    {"Command32", "C10",                        Plain,            "screen-size-full",   "Full screen size", Action},
    {"Command38", "CF FANMODE L1",              Plain,            "fan-mode-l1",        "Fan mode L1", Action},
    {"Command43", "CF FANMODE L2",              Plain,            "fan-mode-l2",        "Fan mode L2", Action},
    {"Command13", "C89",                        ArrowPreparation, "a-image",            "Automatic image adjustment", Action},
    {"Command30", "C27",                        Plain,            "image",              "Image adjustment", Action},
    {"Command14", "C8A",                        Plain,            "p-timer",            "Presentation timer", Action},
    {"Command3",  "C1E",                        Plain,            "display-clear",      "Clear the on-screen display", Action},
    {"Command4",  "C11",                        LongReply,        "stand",              "Image mode STAND", Action},
    {"Command10", "C12",                        LongReply,        "real",               "Image mode REAL", Action},
    {"Command11", "C13",                        LongReply,        "cinema",             "Image mode CINEMA", Action},
    {"Command39", "C14",                        LongReply,        "image1",             "Image mode IMAGE1", Action},
    {"Command40", "C15",                        LongReply,        "image2",             "Image mode IMAGE2", Action},
    {"Command41", "C16",                        LongReply,        "image3",             "Image mode IMAGE3", Action},
    {"Command42", "C17",                        LongReply,        "image4",             "Image mode IMAGE4", Action},
    {"Command12", "C18",                        LongReply,        "b-board",            "Image mode B.Board", Action},
    {"Command37", "C19",                        LongReply,        "dynamic",            "Image mode Dynamic", Action},
    {"Command44", "CR0",                        Plain,            "status",             "Read power and cooling status", Query},
    {"Command45", "CR1",                        Plain,            "mode",               "Read the selected input", Query},
    {"Command46", "CR3",                        Plain,            "l-time",             "Read the lamp hours", Query},
    {"Command47", "CR4",                        Plain,            "setting",            "Read the image orientation", Query},
    {"Command54", "CR6",                        Plain,            "temp",               "Read the three temperatures", Query},
    {"Command55", "CR7",                        Plain,            "l-mode",             "Read the lamp mode", Query},
    {"Command64", "C50",                        InputSwitch,      "pc1-rgb",            "Select PC1 as RGB", Action},
    {"Command52", "C51",                        InputSwitch,      "pc1-scart",          "Select PC1 as Scart", Action},
    {"Command53", "C54",                        InputSwitch,      "pc1-component",      "Select PC1 as Component", Action},
    {"Command72", "CF INPUT COMPUTER2 ANALOG",  InputSwitch,      "pc2-rgb",            "Select PC2 as RGB", Action},
    {"Command82", "CF INPUT VIDEO VIDEO",       InputSwitch,      "video-video",        "Select the video input as Video", Action},
    {"Command69", "CF INPUT COMPUTER1 S-VIDEO", InputSwitch,      "video-s-video",      "Select the video input as S-Video", Action},
    {"Command36", "C02",                        Plain,            "c02",                "Send C02", Action},
    // Sent only as typed text, so with the typed command's timing.
    {nullptr,     "CRA",                        LongReply,        "mute",               "Read the mute state", Query},
    {nullptr,     "CR9",                        LongReply,        "model",              "Read the projector's model name", Query},
    {nullptr,     "CR PRESSURE",                LongReply,        "pressure",           "Read the air pressure in hPa", Query},
});

//   button       code   repeat period Timer2 Timer4 zoom   name               what it does
constexpr std::array adjusterTable = std::to_array<Adjuster>({
    {"Command1",  "C09", 1,     250,   200,   245,   false, "vol-up",          "Volume up"},
    {"Command2",  "C0A", 2,     250,   200,   245,   false, "vol-down",        "Volume down"},
    {"Command15", "C20", 7,     50,    25,    25,    false, "brightness-up",   "Brightness up"},
    {"Command35", "C21", 8,     50,    25,    25,    false, "brightness-down", "Brightness down"},
    {"Command48", "C30", 17,    250,   200,   245,   true,  "d-zoom-up",       "Digital zoom in"},
    {"Command49", "C31", 18,    250,   200,   245,   true,  "d-zoom-down",     "Digital zoom out"},
    {"Command50", "C8E", 19,    250,   200,   245,   false, "keystone-up",     "Keystone correction up"},
    {"Command51", "C8F", 20,    250,   200,   245,   false, "keystone-down",   "Keystone correction down"},
    {"Command6",  "C3F", 13,    500,   200,   245,   false, "select",          "Select the menu item"},
    {"Command5",  "C3C", 3,     0,     0,     0,     false, "cursor-up",       "Cursor up"},
    {"Command7",  "C3D", 4,     0,     0,     0,     false, "cursor-down",     "Cursor down"},
    {"Command8",  "C3A", 6,     0,     0,     0,     false, "cursor-right",    "Cursor right"},
    {"Command9",  "C3B", 5,     0,     0,     0,     false, "cursor-left",     "Cursor left"},
});
// clang-format on

constexpr qsizetype TypedOnlyQueries = 3;

constexpr bool buttonsComeFirst()
{
    const auto buttons = std::span(commandTable).first(commandTable.size() - TypedOnlyQueries);
    const auto typed = std::span(commandTable).last(TypedOnlyQueries);
    return std::all_of(buttons.begin(), buttons.end(), [](auto &row) { return row.name; }) &&
           std::none_of(typed.begin(), typed.end(), [](auto &row) { return row.name; });
}
static_assert(buttonsComeFirst());

constexpr auto queryRows()
{
    std::array<const CommandButton *, 9> rows{};
    std::size_t count = 0;
    for (const CommandButton &row : commandTable) {
        if (row.isStatusQuery)
            rows.at(count++) = &row;
    }
    return rows;
}
constexpr auto queryTable = queryRows();

} // namespace

const ReplyTiming *replyTimingOf(TimingKind kind)
{
    switch (kind) {
    case LongReply:
        return &LongReplyTiming;
    case InputSwitch:
        return &InputSwitchTiming;
    case Plain:
    case ArrowPreparation:
        break;
    }
    return nullptr;
}

const ArrowModeTiming *arrowModeTiming(ArrowMode mode)
{
    for (const ArrowModeTiming &row : ArrowModeTimings) {
        if (row.mode == mode)
            return &row;
    }
    return nullptr;
}

std::span<const CommandButton> commandVocabulary()
{
    return commandTable;
}

std::span<const CommandButton> commandButtons()
{
    return commandVocabulary().first(commandTable.size() - TypedOnlyQueries);
}

std::span<const CommandButton *const> statusQueries()
{
    return queryTable;
}

std::span<const Adjuster> adjusters()
{
    return adjusterTable;
}

const CommandButton *findCommand(std::string_view cliName)
{
    for (const CommandButton &row : commandTable) {
        if (cliName == row.cliName)
            return &row;
    }
    return nullptr;
}

const Adjuster *findAdjuster(std::string_view cliName)
{
    for (const Adjuster &row : adjusterTable) {
        if (cliName == row.cliName)
            return &row;
    }
    return nullptr;
}

QByteArray repeatCommand(int repeatCode)
{
    for (const Adjuster &adjuster : adjusterTable) {
        if (adjuster.repeatCode == repeatCode)
            return QByteArray(adjuster.code);
    }
    return {};
}
