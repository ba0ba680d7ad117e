#include "ui/run_checker.h"

#include <FL/Fl.H>

#include "ui/fltk/fltk_checker.h"

namespace kalmor {
namespace {

// A signal or the loss of the display ends the program like a close, but
// with this status: the solver must not outlive the window.
constexpr int kInterruptedExitCode = 1;

Platform* gPlatform = nullptr;

// FLTK reports a lost X connection (and its other unrecoverable errors) here.
void OnFatalError(const char* /*format*/, ...) {
  gPlatform->endSolverAndExit(kInterruptedExitCode);
}

}  // namespace

// The program takes no options, so argc and argv are not handed to FLTK.
int RunChecker(Platform& platform, int /*argc*/, char** /*argv*/) {
  gPlatform = &platform;
  platform.endSolverOnInterrupt(kInterruptedExitCode, "");
  Fl::fatal = OnFatalError;
  FltkChecker checker(platform);
  checker.open();
  return Fl::run();
}

}  // namespace kalmor
