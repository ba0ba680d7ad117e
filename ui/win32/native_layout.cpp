#include "ui/win32/native_layout.h"

#include <algorithm>
#include <cstdint>

#include "ui/win32/native_kind.h"

namespace kalmor {

int TwipsToPixels(int twips, int dpi) {
  const std::int64_t product = static_cast<std::int64_t>(twips) * dpi;
  const std::int64_t rounded = product >= 0 ? (product + 720) / 1440 : -((-product + 720) / 1440);
  return static_cast<int>(rounded);
}

PixelRect ClientRectOf(const Control& control, int dpi) {
  int left = control.rect().left;
  int top = control.rect().top;
  for (const Control* c = control.container(); c != nullptr && c->kind() != ControlKind::Form;
       c = c->container()) {
    left += c->rect().left;
    top += c->rect().top;
  }
  // Both corners converted, so neighbours meet without a gap from rounding.
  const int x = TwipsToPixels(left, dpi);
  const int y = TwipsToPixels(top, dpi);
  return PixelRect{x, y, TwipsToPixels(left + control.rect().width, dpi) - x,
                   TwipsToPixels(top + control.rect().height, dpi) - y};
}

bool ShownOnScreen(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->container()) {
    if (!c->visible()) return false;
  }
  return true;
}

int LabelLines(const Label& label) { return std::max(1, label.rect().height / 195); }

PixelRect CentredIn(const PixelRect& workArea, int w, int h) {
  return PixelRect{workArea.x + (workArea.w - w) / 2, workArea.y + (workArea.h - h) / 2, w, h};
}

std::vector<Control*> ZOrder(const std::vector<Control*>& controls,
                             const std::vector<Control*>& focusOrder) {
  std::vector<Control*> order;
  for (Control* c : focusOrder) {
    if (NativeKindOf(*c) != NativeKind::None) order.push_back(c);
  }
  std::vector<Control*> groupBoxes;
  for (Control* c : controls) {
    const NativeKind kind = NativeKindOf(*c);
    if (kind == NativeKind::None || std::find(order.begin(), order.end(), c) != order.end()) {
      continue;
    }
    (kind == NativeKind::GroupBox ? groupBoxes : order).push_back(c);
  }
  order.insert(order.end(), groupBoxes.begin(), groupBoxes.end());
  return order;
}

}  // namespace kalmor
