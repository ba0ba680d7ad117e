#include "platform/win32/win32_solver_process.h"

#include "platform/win32/win32_interrupt.h"

namespace kalmor {

Win32SolverProcess::Win32SolverProcess(UniqueHandle process, UniqueHandle thread,
                                       std::uint32_t processId, SolverJob& job,
                                       WineCrashCatcher& crashCatcher)
    : process_(std::move(process)),
      thread_(std::move(thread)),
      processId_(processId),
      job_(job),
      crashCatcher_(crashCatcher) {}

Win32SolverProcess::~Win32SolverProcess() {
  SetInterruptibleSolver(0);
  // Still running, it ends here (a press left by an exception); one that
  // ended by itself may have left a child that would write KM.OUT later,
  // into this run's verdict or the next run.
  terminate();
  crashCatcher_.release(processId_);
}

WaitOutcome Win32SolverProcess::wait(int milliseconds) {
  switch (::WaitForSingleObject(process_.get(), static_cast<DWORD>(milliseconds))) {
    case WAIT_TIMEOUT:
      return WaitOutcome::Timeout;
    case WAIT_OBJECT_0:
      return WaitOutcome::Ended;
    default:
      return WaitOutcome::Failed;
  }
}

ProcessExit Win32SolverProcess::exit() {
  DWORD code = 0;
  if (!::GetExitCodeProcess(process_.get(), &code) || code == STILL_ACTIVE) return {};
  return ProcessExit{ProcessExit::Kind::Code, code};
}

void Win32SolverProcess::terminate() {
  ::TerminateProcess(process_.get(), 1);
  // Then what the solver started: no leftover may write KM.OUT into a later run.
  job_.endAll(1);
}

}  // namespace kalmor
