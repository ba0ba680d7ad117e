#include "ui/fltk/tab_order.h"

#include <algorithm>
#include <climits>

namespace kalmor {
namespace {

bool Holds(const Control& outer, const Control& inner) {
  for (const Control* c = &inner; c != nullptr; c = c->container()) {
    if (c == &outer) return true;
  }
  return false;
}

int EarliestStop(const Control& child, const std::vector<Control*>& focusOrder) {
  for (std::size_t i = 0; i < focusOrder.size(); ++i) {
    if (Holds(child, *focusOrder[i])) return static_cast<int>(i);
  }
  return INT_MAX;
}

}  // namespace

std::vector<Control*> ChildrenInTabOrder(const std::vector<Control*>& controls,
                                         const std::vector<Control*>& focusOrder,
                                         const Control& container) {
  std::vector<Control*> children;
  for (Control* c : controls) {
    if (c->container() == &container) children.push_back(c);
  }
  std::stable_sort(children.begin(), children.end(), [&](const Control* a, const Control* b) {
    return EarliestStop(*a, focusOrder) < EarliestStop(*b, focusOrder);
  });
  return children;
}

}  // namespace kalmor
