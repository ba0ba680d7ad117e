#include "platform/win32/win32_interrupt.h"

#include <windows.h>

#include <atomic>

#include "platform/win32/terminate_by_id.h"
#include "platform/win32/win32_console.h"

namespace kalmor {
namespace {

std::atomic<DWORD> gSolver{0};
static_assert(std::atomic<DWORD>::is_always_lock_free);
std::atomic<int> gExitCode{1};
// Written before the handler is installed, only read by it afterwards.
std::string gNotice;

// The solver's own children go with the job it runs in, when there is one.
void KillSolver() {
  if (const DWORD processId = gSolver.load(); processId != 0) TerminateById(processId, 1);
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      // This runs on a thread of its own: once the solver is gone, the main
      // thread would finish the run and report it before ExitProcess stops it,
      // so the notice is the console's last word.
      WriteLastToConsole(gNotice, true);
      KillSolver();
      ::ExitProcess(static_cast<UINT>(gExitCode.load()));
    default:
      return FALSE;
  }
}

}  // namespace

void SetInterruptibleSolver(std::uint32_t processId) { gSolver.store(processId); }

void InstallInterruptHandler(int exitCode, const std::string& notice) {
  gExitCode.store(exitCode);
  gNotice = notice;
  ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void EndSolverAndExitNow(int exitCode) {
  KillSolver();
  ::ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace kalmor
