#include <windows.h>

#include "platform/win32/child_error_mode.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_interrupt.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_solver_process.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/wine_crash_catcher.h"

namespace kalmor {
namespace {

// The null device, for the solver's standard handles: what it prints must not
// end up in the checker's report (kalmor-check --json).
UniqueHandle InheritableNullDevice() {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  return UniqueHandle(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                    OPEN_EXISTING, 0, nullptr));
}

}  // namespace

Result<std::unique_ptr<SolverProcess>> Win32Platform::startSolver(
    const std::string& applicationName, const std::string& commandLine, bool inheritHandles,
    std::uint32_t creationFlags, const StartupRecord& startup, const RunLock* /*runLock*/) {
  STARTUPINFOA start{};
  start.cb = startup.cb;
  start.dwFlags = startup.dwFlags;
  start.wShowWindow = startup.wShowWindow;
  const UniqueHandle nullDevice = inheritHandles ? InheritableNullDevice() : UniqueHandle();
  if (nullDevice) {
    start.dwFlags |= STARTF_USESTDHANDLES;
    start.hStdInput = start.hStdOutput = start.hStdError = nullDevice.get();
  }
  PROCESS_INFORMATION info{};
  std::string writableCommandLine = commandLine;  // CreateProcessA may write into it
  // The solver joins the job, and under Wine gets the checker as its
  // debugger, before it runs a single instruction, so nothing it starts can
  // escape the job and no crash of it opens a dialog.
  const bool catching = UnderWine();
  DWORD suspended = catching ? CREATE_SUSPENDED : 0;
  if (job_.ready()) suspended = CREATE_SUSPENDED | job_.creationFlags();
  {
    const ChildErrorMode noDialogs;
    if (!::CreateProcessA(applicationName.c_str(), writableCommandLine.data(), nullptr, nullptr,
                          inheritHandles ? TRUE : FALSE, creationFlags | suspended, nullptr,
                          nullptr, &start, &info)) {
      return SystemError{static_cast<std::int32_t>(::GetLastError())};
    }
  }
  UniqueHandle solver(info.hProcess);
  UniqueHandle thread(info.hThread);
  // An interrupt from here on ends it, even before it runs: attaching a
  // debugger takes a moment.
  SetInterruptibleSolver(info.dwProcessId);
  auto solverProcess = std::make_unique<Win32SolverProcess>(
      std::move(solver), std::move(thread), info.dwProcessId, job_, crashCatcher_);
  if (suspended != 0) {
    // A refused job or crash catcher does not stop the run: the solver then
    // runs outside a job, or its crash goes uncaught.
    if (job_.ready()) job_.adopt(info.hProcess);
    if (catching) crashCatcher_.attach(info.dwProcessId);
    // The object's end ends the process that never ran, and lets go of it.
    if (::ResumeThread(info.hThread) == static_cast<DWORD>(-1)) {
      const auto error = static_cast<std::int32_t>(::GetLastError());
      solverProcess->terminate();
      return SystemError{error};
    }
  }
  return std::unique_ptr<SolverProcess>(std::move(solverProcess));
}

void Win32Platform::endSolverOnInterrupt(int exitCode, const std::string& notice) {
  InstallInterruptHandler(exitCode, notice);
}

void Win32Platform::endSolverAndExit(int exitCode) { EndSolverAndExitNow(exitCode); }

}  // namespace kalmor
