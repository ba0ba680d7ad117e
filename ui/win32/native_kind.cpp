#include "ui/win32/native_kind.h"

namespace kalmor {

NativeKind NativeKindOf(const Control& control) {
  switch (control.kind()) {
    case ControlKind::Frame:
      // A borderless frame only groups and offsets its contents.
      return static_cast<const Frame&>(control).bordered() ? NativeKind::GroupBox
                                                            : NativeKind::None;
    case ControlKind::Label:
      return NativeKind::Label;
    case ControlKind::ComboBox:
      return NativeKind::DropDownList;
    case ControlKind::Button:
      return NativeKind::PushButton;
    case ControlKind::Image:
      return NativeKind::Image;
    case ControlKind::Form:
    case ControlKind::TextBox:  // the hidden language store
    case ControlKind::Timer:
      return NativeKind::None;
  }
  return NativeKind::None;
}

}  // namespace kalmor
