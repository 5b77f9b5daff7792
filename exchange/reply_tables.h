#pragma once

#include <array>
#include <string_view>

// The projector's status codes as they appear in the received-traffic line (the rendering of
// a one- or two-character reply) and the status-line text each stands for. The texts are the
// panel's own wording, odd spellings and blanks included, and must not be tidied.
struct KeyedStatus {
    std::string_view key;
    std::string_view status;
};

// Reply to "CR0": power and cooling.
inline constexpr std::array<KeyedStatus, 13> PowerStatusCodes{{
    {" 0 0", " Power ON"},
    {" 8 0", " Stand by"},
    {" 4 0", " Count down"},
    {" 2 0", " Cooling down"},
    {" 1 0", " Power Fail"},
    {" 0 8", " Temperature Warning"},
    {" 0 2", " NO Key input "},
    {" 0 4", " Lamp OFF by PWR Management"},
    {" 2 8", " Temperature Warning & cooling down"},
    {" 2 4", "Cooling down  PWR Management"},
    {" 8 8", " Temperature Warning and recoverd"},
    {" 2 1", " Cooling down (All Lamp FAIL)"},
    {" 8 1", " Cooling down & sutandby (All Lamp FAIL)"},
}};

// Reply to "CR1": the selected input. Only the first reply character counts.
inline constexpr std::array<KeyedStatus, 4> InputModeCodes{{
    {" 1", " Computer 1"},
    {" 2", " Computer 2"},
    {" 3", " Video"},
    {" 4", " Input mode 4"},
}};

// Reply to "CR4": image orientation.
inline constexpr std::array<KeyedStatus, 4> OrientationCodes{{
    {" 1 1", " Normally"},
    {" 1 0", " Top/Bottom reversal"},
    {" 0 1", " Left/Right reversal"},
    {" 0 0", " Top/Bottom , Left/Right reversal"},
}};

// Reply to "CRA": mute state.
inline constexpr std::array<KeyedStatus, 6> MuteCodes{{
    {" 0 0", " Video & Audio mute OFF"},
    {" 0 1", " Video mute ON"},
    {" 0 2", " Audio mute ON"},
    {" 0 3", " Video & Audio mute ON"},
    {" 8 0", " No signal"},
    {" F F", " Stand by"},
}};

// Reply to "CR7": lamp mode.
inline constexpr std::array<KeyedStatus, 8> LampModeCodes{{
    {" 0 0", " LAMP OFF"},
    {" 0 1", " LAMP ON"},
    {" 0 2", " No2 ON  : 2 Lamp mode"},
    {" 0 3", " No1,2 ON  : 2 Lamp mode"},
    {" 1 0", " All OFF : 1 Lamp mode(No1 USE)"},
    {" 1 1", " No1 ON  : 1 Lamp mode(No1 USE)"},
    {" 2 0", " All OFF : 1 Lamp mode(No2 USE)"},
    {" 2 2", " No2 ON  : 1 Lamp mode(No2 USE)"},
}};
