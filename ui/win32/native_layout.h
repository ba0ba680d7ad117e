// Where a control's native window goes. Every native control is a child of
// the main window, so a control inside frames lands at the sum of its
// containers' offsets. No Windows headers: tested on its own.
#pragma once

#include <vector>

#include "testbench/controls.h"

namespace kalmor {

struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool operator==(const PixelRect&) const = default;
};

// Rounded like MulDiv(twips, dpi, 1440), so negative positions mirror positive ones.
int TwipsToPixels(int twips, int dpi);

// The control's rectangle in the main window's client area; the form is the origin.
PixelRect ClientRectOf(const Control& control, int dpi);

// On screen only when the control and every container around it are visible.
bool ShownOnScreen(const Control& control);

// Lines of text a fixed-size label holds: one per 195 twips, the height of a
// line in the layout's design font, and at least one.
int LabelLines(const Label& label);

// The window's top-left corner that centres w x h pixels in the work area.
PixelRect CentredIn(const PixelRect& workArea, int w, int h);

// Native windows from top to bottom of the z-order, which is also the tab
// order: the focus order first, then the other windows, group boxes last so
// that they never cover their contents. Controls without a window are left out.
std::vector<Control*> ZOrder(const std::vector<Control*>& controls,
                             const std::vector<Control*>& focusOrder);

}  // namespace kalmor
