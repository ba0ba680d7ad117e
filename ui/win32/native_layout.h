// Which native windows show, how tall a label is, and their stacking. No
// Windows headers: tested on its own.
#pragma once

#include <vector>

#include "testbench/controls.h"
// Twips to pixels, the client rectangle of a control inside frames (every
// native control is a child of the main window) and centring: the toolkit-free
// layout the two front-ends share.
#include "ui/pixel_layout.h"

namespace kalmor {

// On screen only when the control and every container around it are visible.
bool ShownOnScreen(const Control& control);

// Native windows from top to bottom of the z-order, which is also the tab
// order: the focus order first, each list preceded by the label listed just
// before it (its name for screen readers), then the other windows, group
// boxes last so that they never cover their contents. Controls without a
// window are left out.
std::vector<Control*> ZOrder(const std::vector<Control*>& controls,
                             const std::vector<Control*>& focusOrder);

}  // namespace kalmor
