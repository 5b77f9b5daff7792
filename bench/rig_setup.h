#pragma once

#include "bare_repeater.h"
#include "far_end.h"
#include "panel_rig.h"
#include "report.h"

#include <memory>

// The panel in this process with the far end on the other side of its pseudo-terminal.
struct PanelOnFarEnd {
    FarEnd farEnd;
    std::unique_ptr<PanelRig> rig;
};

// Null after emitting a "not measured" row for each of the figures when the set-up failed.
std::unique_ptr<PanelOnFarEnd> panelOnFarEnd(std::initializer_list<QString> figures);

// The bare timer loop that stands for the floor, on a far end of its own.
struct BareOnFarEnd {
    FarEnd farEnd;
    BareRepeater repeater;
};

// Null after emitting a "not measured" row for each of the figures when the set-up failed.
std::unique_ptr<BareOnFarEnd> bareOnFarEnd(std::initializer_list<QString> figures);
