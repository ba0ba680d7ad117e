#include "resources/vector_canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace kalmor {
namespace {

constexpr int kSamples = 8;  // per pixel and axis
constexpr double kHalfDiagonal = 0.7072;

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

double SegmentDistance(Point p, Point a, Point b) {
  const double ex = b.x - a.x, ey = b.y - a.y;
  const double wx = p.x - a.x, wy = p.y - a.y;
  const double along = ex * ex + ey * ey;
  const double t = along > 0 ? std::clamp((wx * ex + wy * ey) / along, 0.0, 1.0) : 0.0;
  return Length(wx - ex * t, wy - ey * t);
}

double Channel(std::uint32_t argb, int shift) { return ((argb >> shift) & 0xFF) / 255.0; }

}  // namespace

Shape Circle(Point centre, double radius) {
  return [=](Point p) { return Length(p.x - centre.x, p.y - centre.y) - radius; };
}

Shape Box(double left, double top, double right, double bottom, double radius) {
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
  return [=](Point p) {
    const double qx = std::abs(p.x - cx) - hx, qy = std::abs(p.y - cy) - hy;
    return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
  };
}

Shape Polygon(std::vector<Point> corners) {
  double area = 0;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const Point a = corners[i], b = corners[(i + 1) % corners.size()];
    area += a.x * b.y - b.x * a.y;
  }
  const double winding = area < 0 ? -1.0 : 1.0;
  return [corners = std::move(corners), winding](Point p) {
    double nearest = std::numeric_limits<double>::infinity();
    bool inside = true;
    for (std::size_t i = 0; i < corners.size(); ++i) {
      const Point a = corners[i], b = corners[(i + 1) % corners.size()];
      nearest = std::min(nearest, SegmentDistance(p, a, b));
      inside = inside && ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) * winding >= 0;
    }
    return inside ? -nearest : nearest;
  };
}

Shape Stroke(Point from, Point to, double halfWidth) {
  return [=](Point p) { return SegmentDistance(p, from, to) - halfWidth; };
}

Shape Union(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](Point p) { return std::min(a(p), b(p)); };
}

Shape Intersection(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](Point p) { return std::max(a(p), b(p)); };
}

Shape Minus(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](Point p) { return std::max(a(p), -b(p)); };
}

Shape Inset(Shape shape, double pixels) {
  return [shape = std::move(shape), pixels](Point p) { return shape(p) + pixels; };
}

Shape Moved(Shape shape, double dx, double dy) {
  return [shape = std::move(shape), dx, dy](Point p) { return shape(Point{p.x - dx, p.y - dy}); };
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const double value = Channel(a, shift) * (1 - t) + Channel(b, shift) * t;
    out |= static_cast<std::uint32_t>(std::lround(value * 255)) << shift;
  }
  return out;
}

Canvas::Canvas(int size)
    : size_(size), premultiplied_(static_cast<std::size_t>(size) * static_cast<std::size_t>(size)) {}

void Canvas::paint(const Shape& shape, std::uint32_t argb) {
  paint(shape, [argb](Point) { return argb; });
}

void Canvas::paint(const Shape& shape, const std::function<std::uint32_t(Point)>& colourAt) {
  for (int y = 0; y < size_; ++y) {
    for (int x = 0; x < size_; ++x) {
      // The distances never overstate, so a centre farther from the edge
      // than half the pixel's diagonal has the pixel wholly in or out.
      const double centre = shape(Point{x + 0.5, y + 0.5});
      int covered = centre < -kHalfDiagonal ? kSamples * kSamples : 0;
      for (int sy = 0; std::abs(centre) <= kHalfDiagonal && sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          covered += shape(Point{x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples}) < 0;
        }
      }
      if (covered == 0) continue;
      const std::uint32_t colour = colourAt(Point{x + 0.5, y + 0.5});
      const double alpha = Channel(colour, 24) * covered / (kSamples * kSamples);
      auto& pixel = premultiplied_[static_cast<std::size_t>(y * size_ + x)];
      pixel[0] = alpha + pixel[0] * (1 - alpha);
      for (int c = 1; c < 4; ++c) pixel[c] = Channel(colour, 24 - 8 * c) * alpha + pixel[c] * (1 - alpha);
    }
  }
}

PictureBits Canvas::bits() const {
  PictureBits out{size_, std::vector<std::uint32_t>(premultiplied_.size(), 0)};
  for (std::size_t i = 0; i < premultiplied_.size(); ++i) {
    const auto& pixel = premultiplied_[i];
    const auto alpha = static_cast<std::uint32_t>(std::lround(pixel[0] * 255));
    if (alpha == 0) continue;
    std::uint32_t argb = alpha << 24;
    for (int c = 1; c < 4; ++c) {
      const double straight = std::clamp(pixel[c] / pixel[0], 0.0, 1.0);
      argb |= static_cast<std::uint32_t>(std::lround(straight * 255)) << (24 - 8 * c);
    }
    out.pixels[i] = argb;
  }
  return out;
}

}  // namespace kalmor
