// How the last press of Start ended. Every path of a run sets it, so that
// whoever drives the window reads the verdict instead of guessing it from
// captions.
#pragma once

namespace kalmor {

enum class RunOutcome {
  None,           // no run yet, or one still going
  Passed,         // the solver wrote KM.OUT
  Failed,         // the solver ended without a readable KM.OUT
  Aborted,        // Stop, a time-out or closing ended it
  CouldNotStart,  // a system error before the solver ran (old output, input, process)
  Refused,        // the window would not run it; nothing was started
};

}  // namespace kalmor
