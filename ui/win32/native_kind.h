// Which native window stands for a control. No Windows headers: tested on its own.
#pragma once

#include "testbench/controls.h"

namespace kalmor {

enum class NativeKind {
  None,          // no window: the form itself, borderless frames, text boxes, timers
  GroupBox,      // a frame with border and caption
  Label,         // a static text
  DropDownList,  // a combo box without typing
  PushButton,
  Image,         // a static showing an icon
};

NativeKind NativeKindOf(const Control& control);

}  // namespace kalmor
