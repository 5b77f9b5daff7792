#pragma once

#include <QByteArray>

#include <span>

// How a single-press button sets the reply timeout and display clear around its send.
enum class TimingKind {
    Plain,            // leaves the intervals as they are
    LongReply,        // 2000 / 2500 ms before sending
    InputSwitch,      // 5000 / 5500 ms before sending
    ArrowPreparation, // after sending: repeat interval 200 ms, arrow mode 1
};

struct CommandButton {
    const char *name;
    const char *code;
    TimingKind timing;
};

// Every single-press button that sends a code. END sends nothing and is not listed.
std::span<const CommandButton> commandButtons();

// What an adjuster (press-and-hold button) sends and how it times its repeat.
struct Adjuster {
    const char *name;
    const char *code;
    int repeatCode;
    int repeatMs;       // set on press; 0 for the arrows, which use the interval in force
    int replyTimeoutMs; // set on press after the first send; 0 for the arrows (by arrow mode)
    int displayClearMs;
    bool isZoom; // its release switches the arrows to the 5 ms mode
    bool isArrow() const { return repeatMs == 0; }
};

std::span<const Adjuster> adjusters();
// The command a repeat tick sends for a repeat code; empty for codes no adjuster uses.
QByteArray repeatCommand(int repeatCode);
