// A small anti-aliased painter for drawing the pictures at any size. Shapes
// are signed distances in pixels (negative inside), so outlines and insets
// come from the same shape; shapes are painted one over another, each pixel
// covered as far as an 8 x 8 grid of samples inside it finds the shape.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "resources/pictures.h"

namespace kalmor {

struct Point {
  double x = 0;
  double y = 0;
};

using Shape = std::function<double(Point)>;

Shape Circle(Point centre, double radius);
// An axis-parallel box between its edges, its corners rounded by radius.
Shape Box(double left, double top, double right, double bottom, double radius = 0);
// A convex polygon, corners in either winding.
Shape Polygon(std::vector<Point> corners);
// A straight stroke with round ends.
Shape Stroke(Point from, Point to, double halfWidth);
Shape Union(Shape a, Shape b);
Shape Intersection(Shape a, Shape b);
Shape Minus(Shape a, Shape b);
// The shape shrunk by pixels from every edge; negative grows it, rounding its corners.
Shape Inset(Shape shape, double pixels);
Shape Moved(Shape shape, double dx, double dy);

// a at t = 0 to b at t = 1, channel by channel; t is clamped.
std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t);

class Canvas {
 public:
  explicit Canvas(int size);

  void paint(const Shape& shape, std::uint32_t argb);
  // The colour is asked for at each covered pixel's centre.
  void paint(const Shape& shape, const std::function<std::uint32_t(Point)>& colourAt);

  PictureBits bits() const;

 private:
  int size_;
  std::vector<std::array<double, 4>> premultiplied_;  // a, r, g, b in 0..1
};

}  // namespace kalmor
