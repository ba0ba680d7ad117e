// Room for a label sized to its text. The layout was drawn for a narrower
// dialog font than the screens have, so a text may grow into the control to
// its right; there it is drawn smaller instead, and never wider than its room.
#pragma once

#include <functional>
#include <vector>

#include "testbench/controls.h"

namespace kalmor {

// Lines of text a fixed-size label holds: one per 195 twips, the height of a
// line in the layout's design font, and at least one. The screen's font may
// be taller, so such a label is made as tall as that many of its lines.
int LabelLines(const Label& label);

// Pixels the label may take from its left edge: up to the nearest control of
// its container that starts to its right on its line, or to the container's
// edge, with two pixels (30 twips) kept free: glyphs fill their advance to
// within a pixel, so one free column still reads as touching ("Time00:00").
int LabelRoom(const Label& label, const std::vector<Control*>& controls, double dpi);

// The largest font size from normal down to smallest whose text width fits
// room; smallest when none does.
int FittingFontSize(int normal, int smallest, int room, const std::function<int(int)>& width);

// The smallest size a label is drawn in: three quarters of the normal one.
int SmallestFontSize(int normal);

}  // namespace kalmor
