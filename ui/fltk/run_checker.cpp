#include "ui/run_checker.h"

#include <FL/Fl.H>

#include "ui/fltk/fltk_checker.h"

namespace kalmor {

// The program takes no options, so argc and argv are not handed to FLTK.
int RunChecker(Platform& platform, int /*argc*/, char** /*argv*/) {
  FltkChecker checker(platform);
  checker.open();
  return Fl::run();
}

}  // namespace kalmor
