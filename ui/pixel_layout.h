// Where controls land on screen, shared by the front-ends: twips turned into
// pixels at the screen's resolution, and the window centred. No toolkit here.
#pragma once

#include "testbench/controls.h"

namespace kalmor {

struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool operator==(const PixelRect&) const = default;
};

inline constexpr double kDefaultDpi = 96.0;

// X servers without a monitor may report no resolution or a silly one.
double UsableDpi(double reportedDpi);

int TwipsToPixels(int twips, double dpi);
PixelRect ToPixels(const Rect& twips, double dpi);

// The control's rectangle in the window's client area: each container's
// offset added up, the form itself at the origin.
PixelRect ClientPixelRect(const Control& control, double dpi);

// The font height in pixels that a point size has at this resolution.
int PointsToPixels(double points, double dpi);

// The clear pixels after a button's picture, before its caption: an eighth of
// the picture, at least 2, so the gap grows with the drawn size.
int ButtonPictureGap(int pictureSize);

// Top-left corner that centres a w x h window in the given work area.
PixelRect CentredIn(const PixelRect& workArea, int w, int h);

}  // namespace kalmor
