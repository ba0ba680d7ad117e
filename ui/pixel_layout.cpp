#include "ui/pixel_layout.h"

#include <algorithm>
#include <cmath>

namespace kalmor {
namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kPointsPerInch = 72.0;
}  // namespace

double UsableDpi(double reportedDpi) {
  // Anything outside what real screens have means the server does not know.
  if (!(reportedDpi >= 48.0 && reportedDpi <= 480.0)) return kDefaultDpi;
  return reportedDpi;
}

int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

int ButtonPictureGap(int pictureSize) { return std::max(2, pictureSize / 8); }

PixelRect ToPixels(const Rect& twips, double dpi) {
  return PixelRect{TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
                   TwipsToPixels(twips.width, dpi), TwipsToPixels(twips.height, dpi)};
}

PixelRect ClientPixelRect(const Control& control, double dpi) {
  if (control.kind() == ControlKind::Form) {
    return PixelRect{0, 0, TwipsToPixels(control.rect().width, dpi),
                     TwipsToPixels(control.rect().height, dpi)};
  }
  PixelRect rect = ToPixels(control.rect(), dpi);
  for (const Control* c = control.container(); c != nullptr && c->kind() != ControlKind::Form;
       c = c->container()) {
    rect.x += TwipsToPixels(c->rect().left, dpi);
    rect.y += TwipsToPixels(c->rect().top, dpi);
  }
  return rect;
}

int PointsToPixels(double points, double dpi) {
  return static_cast<int>(std::lround(points * dpi / kPointsPerInch));
}

PixelRect CentredIn(const PixelRect& workArea, int w, int h) {
  return PixelRect{workArea.x + (workArea.w - w) / 2, workArea.y + (workArea.h - h) / 2, w, h};
}

}  // namespace kalmor
