#include "ui/label_fit.h"

#include <algorithm>

#include "ui/pixel_layout.h"

namespace kalmor {

int LabelLines(const Label& label) { return std::max(1, label.rect().height / 195); }

int LabelRoom(const Label& label, const std::vector<Control*>& controls, double dpi) {
  const Control* container = label.container();
  const Rect& own = label.rect();
  int limit = container != nullptr ? TwipsToPixels(container->rect().width, dpi) : 0;
  for (const Control* other : controls) {
    if (other == &label || other->container() != container) continue;
    const Rect& r = other->rect();
    const bool sameLine = r.top < own.top + own.height && own.top < r.top + r.height;
    if (sameLine && r.left > own.left) limit = std::min(limit, TwipsToPixels(r.left, dpi));
  }
  return std::max(0, limit - std::max(2, TwipsToPixels(30, dpi)) - TwipsToPixels(own.left, dpi));
}

int FittingFontSize(int normal, int smallest, int room, const std::function<int(int)>& width) {
  for (int size = normal; size > smallest; --size) {
    if (width(size) <= room) return size;
  }
  return smallest;
}

int SmallestFontSize(int normal) { return std::max(1, normal * 3 / 4); }

}  // namespace kalmor
