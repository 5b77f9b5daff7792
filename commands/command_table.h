#pragma once

#include <QByteArray>

#include <span>
#include <string_view>

// Everything the panel can send, as data: the single-press commands (the six status-query
// buttons among them), the three queries sent only as typed text, and the press-and-hold
// adjusters. Each row carries a command-line name (lower case, hyphens) and what it does.

// How a single-press command sets the reply timeout and display clear around its send.
enum class TimingKind {
    Plain,            // leaves the intervals as they are
    LongReply,        // 2000 / 2500 ms before sending; also every typed command
    InputSwitch,      // 5000 / 5500 ms before sending
    ArrowPreparation, // after sending: repeat interval 200 ms, arrow mode 1
};

// The reply timeout (Timer2) and display clear (Timer4) a kind sets before its send.
struct ReplyTiming {
    int replyTimeoutMs;
    int displayClearMs;
};

// The four timers' intervals at start: repeat, reply timeout, port panel, display clear.
inline constexpr int RepeatStartMs = 200;
inline constexpr int ReplyTimeoutStartMs = 500;
inline constexpr int PortPanelStartMs = 5000;
inline constexpr int DisplayClearStartMs = 1000;

// Null for the kinds that keep the intervals in force (sticky from an earlier send).
const ReplyTiming *replyTimingOf(TimingKind kind);

struct CommandButton {
    const char *name; // the window's button; nullptr for a query sent only as typed text
    const char *code;
    TimingKind timing;
    const char *cliName;
    const char *description;
    bool isStatusQuery; // its reply is decoded into the status line
};

// What an adjuster (press-and-hold button) sends and how it times its repeat.
struct Adjuster {
    const char *name;
    const char *code;
    int repeatCode;
    int repeatMs;       // set on press; 0 for the arrows, which use the interval in force
    int replyTimeoutMs; // set on press after the first send; 0 for the arrows (by arrow mode)
    int displayClearMs;
    bool isZoom; // its release switches the arrows to the 5 ms mode
    const char *cliName;
    const char *description;
    bool isArrow() const { return repeatMs == 0; }
};

// The arrow modes: set by "A-IMAGE" and MENU "ON" (menu) or by a D.Zoom release (fast), each
// with the repeat period it sets and the reply timeout and display clear an arrow press sets.
// Mode 0, at start, leaves all three as they are.
enum ArrowMode { ArrowsAsIs = 0, ArrowsMenu = 1, ArrowsFast = 3 };
struct ArrowModeTiming {
    ArrowMode mode;
    int periodMs;
    ReplyTiming timing;
};
inline constexpr ArrowModeTiming ArrowModeTimings[] = {
    {ArrowsMenu, 200, {150, 190}},
    {ArrowsFast, 5, {5, 5}},
};
const ArrowModeTiming *arrowModeTiming(ArrowMode mode);

// Set at every adjuster release.
inline constexpr ReplyTiming AfterRelease{500, 1000};

// Every single-press command, window buttons first, then the typed-only queries.
std::span<const CommandButton> commandVocabulary();
// The rows of commandVocabulary() that are buttons of the window. END sends nothing and is
// not listed.
std::span<const CommandButton> commandButtons();
// The nine rows whose replies are decoded.
std::span<const CommandButton *const> statusQueries();
std::span<const Adjuster> adjusters();

const CommandButton *findCommand(std::string_view cliName);
const Adjuster *findAdjuster(std::string_view cliName);

// The command a repeat tick sends for a repeat code; empty for codes no adjuster uses.
QByteArray repeatCommand(int repeatCode);
