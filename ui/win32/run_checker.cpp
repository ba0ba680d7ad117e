#include "ui/run_checker.h"

#include "testbench/frm_kalmor_checker.h"
#include "ui/win32/win32_toolkit.h"

namespace kalmor {

// The program takes no options.
int RunChecker(Platform& platform, int /*argc*/, char** /*argv*/) {
  Win32Toolkit toolkit;
  frmKalmorChecker window(platform, toolkit);
  toolkit.attach(window);
  window.Form_Load();
  toolkit.open();
  return toolkit.run();
}

}  // namespace kalmor
