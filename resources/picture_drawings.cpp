#include "resources/picture_drawings.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "resources/vector_canvas.h"

namespace kalmor {
namespace {

// Measures are given on the 16-unit grid of the hand-drawn pictures; k is one
// unit in pixels. Outlines stay about a pixel wide up to 32 px.
struct Grid {
  int size;
  double k = size / 16.0;
  double outline = std::max(1.0, std::round(size / 24.0));
  double u(double units) const { return units * k; }
  // Whole pixels, so that straight edges fall on pixel edges.
  double whole(double units) const { return std::max(1.0, std::round(units * k)); }
};

PictureBits Information(const Grid g) {
  Canvas canvas(g.size);
  const double bottom = std::round(g.u(13.5));
  const Shape bubble = Union(Box(0, 0, g.size, bottom, g.u(3)),
                             Polygon({{g.u(2.6), bottom - g.u(1.5)}, {g.u(6.4), bottom - g.u(1.5)},
                                      {g.u(1.4), g.size - g.u(0.2)}}));
  const Shape inside = Inset(bubble, g.outline);
  canvas.paint(bubble, 0xFF6A7A94);
  canvas.paint(inside, 0xFFFFFFFF);
  // Shade inside the lower and right edge.
  canvas.paint(Minus(inside, Moved(inside, -g.outline, -g.outline)), 0xFFDCE4F0);

  const double stem = g.whole(3);
  const double left = std::round((g.size - g.outline - stem) / 2);
  const double right = left + stem, top = std::round(g.u(6)), foot = std::round(g.u(12));
  const double serif = g.whole(1);
  const Shape letter = Union(Union(Box(left, top, right, foot), Box(left - serif, top, right, top + serif)),
                             Union(Box(left - serif, foot - serif, right + serif, foot),
                                   Circle({(left + right) / 2, g.u(3.5)}, stem / 2 + g.u(0.1))));
  canvas.paint(letter, 0xFF1450D8);
  return canvas.bits();
}

PictureBits Error(const Grid g) {
  Canvas canvas(g.size);
  const double c = g.size / 2.0;
  const Shape disc = Circle({c, c}, c);
  canvas.paint(disc, 0xFFB01414);
  // Light falls on the disc from above.
  canvas.paint(Inset(disc, g.outline),
               [&](Point p) { return Mix(0xFFF06058, 0xFFDC2828, p.y / (0.4 * g.size)); });
  const double arm = g.u(3.3), half = g.u(1.25);
  canvas.paint(Union(Stroke({c - arm, c - arm}, {c + arm, c + arm}, half),
                     Stroke({c + arm, c - arm}, {c - arm, c + arm}, half)),
               0xFFFFFFFF);
  return canvas.bits();
}

PictureBits Warning(const Grid g) {
  Canvas canvas(g.size);
  const double c = g.size / 2.0, corner = g.u(0.8);
  const Shape triangle =
      Inset(Polygon({{c, g.u(1.4)}, {g.u(1.0), g.size - corner}, {g.size - g.u(1.0), g.size - corner}}), -corner);
  canvas.paint(triangle, 0xFFB07800);
  canvas.paint(Inset(triangle, g.outline),
               [&](Point p) { return Mix(0xFFFFE050, 0xFFFFCC00, p.y / (0.55 * g.size)); });
  // The mark's stroke narrows to its foot; its top is a whole number of pixels wide.
  const double bar = std::max(1.0, std::round(g.u(1.2))), foot = g.u(10.6);
  canvas.paint(Union(Polygon({{c - bar, g.u(5)}, {c + bar, g.u(5)}, {c + 0.7 * bar, foot}, {c - 0.7 * bar, foot}}),
                     Circle({c, g.u(12.6)}, bar)),
               0xFF000000);
  return canvas.bits();
}

PictureBits Key(const Grid g) {
  Canvas canvas(g.size);
  const Point hole{g.u(4.2), g.u(7.6)};
  const Shape key = Minus(Union(Union(Circle({g.u(4), g.u(7.5)}, g.u(4)), Box(g.u(7), g.u(6), g.size, g.u(10))),
                                Union(Box(g.u(9), g.u(8), g.u(13), g.u(13), g.u(0.5)),
                                      Box(g.u(12), g.u(8), g.size, g.u(12), g.u(0.5)))),
                          Circle(hole, g.u(1.5)));
  const Shape gold = Inset(key, g.outline);
  canvas.paint(key, 0xFF6E4600);
  canvas.paint(gold, [&](Point p) { return Mix(0xFFFFE88C, 0xFFEAB52A, (p.y - g.u(4)) / g.u(2.5)); });
  // Shade around the hole.
  canvas.paint(Intersection(gold, Circle(hole, g.u(1.5) + g.outline + g.u(0.6))), 0xFFB07E0C);
  return canvas.bits();
}

}  // namespace

PictureBits DrawnPicture(Picture picture, int size) {
  const Grid grid{size};
  switch (picture) {
    case Picture::Information:
      return Information(grid);
    case Picture::Error:
      return Error(grid);
    case Picture::Warning:
      return Warning(grid);
    case Picture::Key:
      return Key(grid);
    case Picture::None:
      break;
  }
  throw std::invalid_argument("Picture::None has no drawing");
}

}  // namespace kalmor
