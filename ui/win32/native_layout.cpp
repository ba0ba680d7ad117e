#include "ui/win32/native_layout.h"

#include <algorithm>

#include "ui/win32/native_kind.h"

namespace kalmor {

bool ShownOnScreen(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->container()) {
    if (!c->visible()) return false;
  }
  return true;
}

std::vector<Control*> ZOrder(const std::vector<Control*>& controls,
                             const std::vector<Control*>& focusOrder) {
  std::vector<Control*> order;
  for (Control* c : focusOrder) {
    if (NativeKindOf(*c) == NativeKind::None) continue;
    // A list shows no text of its own; screen readers name it after the
    // static text just before it. In the window's design each list's label
    // comes right before the list; labels take no focus, so Tab is unchanged.
    const auto at = std::find(controls.begin(), controls.end(), c);
    if (c->kind() == ControlKind::ComboBox && at != controls.begin() && at != controls.end() &&
        (*(at - 1))->kind() == ControlKind::Label && (*(at - 1))->container() == c->container()) {
      order.push_back(*(at - 1));
    }
    order.push_back(c);
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
