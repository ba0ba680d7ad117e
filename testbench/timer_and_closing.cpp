// The elapsed-time timer, and closing the window.
#include "testbench/elapsed_time.h"
#include "testbench/frm_kalmor_checker.h"

namespace kalmor {

void frmKalmorChecker::Timer1_Timer() {
  // Alternate ticks hide and show the status text; the time moves on showing.
  if (lblStatus.foreColour() != lblStatus.backColour()) {
    lblStatus.setForeColour(lblStatus.backColour());
    return;
  }
  lblStatus.setForeColour(kBlue);
  lblTimer.setCaption(FormatElapsed(toolkit_.now() - RunStartTime));
}

void frmKalmorChecker::Form_QueryUnload(bool& /*cancel*/, int /*unloadMode*/) {
  Closing = true;
  if (RunInProgress || SolverRunning) endPress(RunOutcome::Aborted, AbortedText);
  if (SolverRunning) {
    AbortRequested = true;
    TerminateSolver();
  }
  toolkit_.endProgram();
}

void frmKalmorChecker::cmdClose_Click() {
  bool cancel = false;
  Form_QueryUnload(cancel, 1);
}

}  // namespace kalmor
