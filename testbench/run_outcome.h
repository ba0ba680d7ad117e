// How the last press of Start ended. Every press ends through one place that
// sets it, so that whoever drives the window reads the verdict instead of
// guessing it from captions.
#pragma once

#include <string>

#include "platform/platform.h"

namespace kalmor {

enum class RunOutcome {
  None,           // no run yet, or one still going
  Passed,         // the solver wrote KM.OUT
  Failed,         // the solver ended without a readable KM.OUT
  Aborted,        // Stop, a time-out or closing ended it
  CouldNotStart,  // a system error before the solver ran (old output, input, process)
  Refused,        // the window would not run it; nothing was started
};

struct PressResult {
  RunOutcome outcome = RunOutcome::None;
  // Passed: the first line of KM.OUT; otherwise why not, as the window says it.
  std::string detail;
  ProcessExit exit;  // Failed: how the solver ended
};

}  // namespace kalmor
