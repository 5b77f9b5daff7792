#pragma once

enum class PowerState { Standby, CountDown, On, Cooling };

// The values are the digits the input query answers with.
enum class InputSource { Computer1 = 1, Computer2 = 2, Video = 3 };

// Everything the simulated projector remembers. Adjustable levels are clamped to their ranges.
struct SimulatedState {
    PowerState power = PowerState::Standby;
    InputSource input = InputSource::Computer1;
    bool soundMute = false;
    bool noShow = false; // video mute
    bool freeze = false;
    bool fullScreen = false;
    int imageMode = 1;   // 1 "STAND" .. 9 "Dynamic"
    int volume = 20;     // 0..40
    int brightness = 0;  // -31..31
    int digitalZoom = 0; // 0..40
    int keystone = 0;    // -40..40
    bool menuOpen = false;
    int menuRow = 0; // 0..9, moved by the up and down keys while the menu is open
    int fanMode = 1; // 1 or 2
};
