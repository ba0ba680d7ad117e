#include "platform/win32/win32_solver_process.h"

#include "platform/win32/win32_interrupt.h"
#include "platform/win32/win32_text.h"
#include "sysinfo/ntstatus_names.h"

namespace kalmor {
namespace {

// The system's name for an exit code: crashes and loader failures end a
// process with an NTSTATUS error code, whose texts live in ntdll; plain exit
// codes mean what the solver meant.
std::string ExitCodeText(std::uint32_t code) {
  if ((code & 0xC0000000u) != 0xC0000000u) return {};
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      ::GetModuleHandleW(L"ntdll.dll"), code, 0, reinterpret_cast<wchar_t*>(&buffer), 0,
      nullptr);
  std::string text = length > 0 && buffer != nullptr ? WideToUtf8(std::wstring(buffer, length))
                                                     : std::string();
  ::LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  // Some texts are templates for the crash dialog ("memory at 0x%08lx"); the
  // status's name says more than a template without its values.
  if (text.find('%') != std::string::npos) text.clear();
  const char* name = NtStatusName(code);
  if (name != nullptr) text = text.empty() ? name : std::string(name) + ": " + text;
  return text;
}

}  // namespace

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
  return ProcessExit{ProcessExit::Kind::Code, code, ExitCodeText(code)};
}

void Win32SolverProcess::terminate() {
  ::TerminateProcess(process_.get(), 1);
  // Then what the solver started: no leftover may write KM.OUT into a later run.
  job_.endAll(1);
}

}  // namespace kalmor
