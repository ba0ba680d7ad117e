// The checker window on FLTK, brought up to the point where the event loop
// takes over. RunChecker then runs the loop; tests drive the window instead.
#pragma once

#include <functional>

#include "platform/platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/fltk/fltk_toolkit.h"

namespace kalmor {

class FltkChecker {
 public:
  // endProcess: see FltkToolkit.
  explicit FltkChecker(Platform& platform, std::function<void()> endProcess = {});

  // Start-up, then the widgets, then the window shown centred with its focus.
  void open();

  frmKalmorChecker& window() { return window_; }
  FltkToolkit& toolkit() { return toolkit_; }

 private:
  FltkToolkit toolkit_;  // before the window, which refers to it
  frmKalmorChecker window_;
};

}  // namespace kalmor
