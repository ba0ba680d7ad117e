// A window's device context (the screen's for no window), released when it
// goes; an object selected into it is put back first.
#pragma once

#include "ui/win32/windows_api.h"

namespace kalmor {

class WindowDc {
 public:
  explicit WindowDc(HWND window, HGDIOBJ selected = nullptr)
      : window_(window), dc_(GetDC(window)) {
    if (dc_ != nullptr && selected != nullptr) old_ = SelectObject(dc_, selected);
  }
  ~WindowDc() {
    if (dc_ == nullptr) return;
    if (old_ != nullptr) SelectObject(dc_, old_);
    ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace kalmor
