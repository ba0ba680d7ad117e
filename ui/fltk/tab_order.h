// FLTK moves the focus with Tab through a group's children in the order they
// were added, and descends into nested groups. Adding each container's
// children in this order makes Tab follow the window's focus order.
#pragma once

#include <vector>

#include "testbench/controls.h"

namespace kalmor {

// The controls directly inside container: first those that are or hold a
// focus stop, by their earliest stop; the rest after them, as listed.
std::vector<Control*> ChildrenInTabOrder(const std::vector<Control*>& controls,
                                         const std::vector<Control*>& focusOrder,
                                         const Control& container);

}  // namespace kalmor
