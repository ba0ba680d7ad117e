#include <windows.h>

#include "platform/win32/child_error_mode.h"
#include "platform/win32/terminate_by_id.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_interrupt.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/wine_crash_catcher.h"
#include "sysinfo/ntstatus_names.h"

namespace kalmor {
namespace {

HANDLE AsHandle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }
std::intptr_t FromHandle(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

// The null device, for the solver's standard handles: what it prints must not
// end up in the checker's report (kalmor-check --json).
UniqueHandle InheritableNullDevice() {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  return UniqueHandle(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                                    OPEN_EXISTING, 0, nullptr));
}

}  // namespace

bool Win32Platform::createProcess(const std::string& applicationName,
                                  const std::string& commandLine, bool inheritHandles,
                                  std::uint32_t creationFlags, const StartupRecord& startup,
                                  ProcessRecord& process, std::int32_t& lastError) {
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
  bool created = false;
  {
    const ChildErrorMode noDialogs;
    created = ::CreateProcessA(applicationName.c_str(), writableCommandLine.data(), nullptr,
                               nullptr, inheritHandles ? TRUE : FALSE, creationFlags | suspended,
                               nullptr, nullptr, &start, &info) != 0;
    if (!created) lastError = static_cast<std::int32_t>(::GetLastError());
  }
  if (!created) return false;
  UniqueHandle solver(info.hProcess);
  UniqueHandle thread(info.hThread);
  // An interrupt from here on ends it, even before it runs: attaching a
  // debugger takes a moment.
  SetInterruptibleSolver(info.dwProcessId);
  if (suspended != 0) {
    // A refused job or crash catcher does not stop the run: the solver then
    // runs outside a job, or its crash goes uncaught.
    if (job_.ready()) job_.adopt(solver.get());
    if (catching) crashCatcher_.attach(info.dwProcessId);
    if (::ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
      lastError = static_cast<std::int32_t>(::GetLastError());
      ::TerminateProcess(solver.get(), 1);
      crashCatcher_.release(info.dwProcessId);
      SetInterruptibleSolver(0);
      return false;
    }
  }
  process.process = FromHandle(solver.release());
  process.thread = FromHandle(thread.release());
  process.processId = info.dwProcessId;
  process.threadId = info.dwThreadId;
  return true;
}

WaitOutcome Win32Platform::waitForProcess(const ProcessRecord& process, int milliseconds) {
  switch (::WaitForSingleObject(AsHandle(process.process), static_cast<DWORD>(milliseconds))) {
    case WAIT_TIMEOUT:
      return WaitOutcome::Timeout;
    case WAIT_OBJECT_0:
      return WaitOutcome::Ended;
    default:
      return WaitOutcome::Failed;
  }
}

void Win32Platform::terminateProcess(std::uint32_t processId, std::uint32_t exitCode) {
  TerminateById(processId, exitCode);
  // Then what the solver started: no leftover may write KM.OUT into a later run.
  job_.endAll(exitCode);
}

ProcessExit Win32Platform::processExit(const ProcessRecord& process) {
  DWORD code = 0;
  if (process.process == 0 || !::GetExitCodeProcess(AsHandle(process.process), &code) ||
      code == STILL_ACTIVE) {
    return {};
  }
  return ProcessExit{ProcessExit::Kind::Code, code};
}

std::string Win32Platform::processExitText(const ProcessExit& exit) {
  // Crashes and loader failures end a process with an NTSTATUS error code,
  // whose texts live in ntdll; plain exit codes mean what the solver meant.
  if (exit.kind != ProcessExit::Kind::Code || (exit.value & 0xC0000000u) != 0xC0000000u) return {};
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      ::GetModuleHandleW(L"ntdll.dll"), exit.value, 0, reinterpret_cast<wchar_t*>(&buffer), 0,
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
  const char* name = NtStatusName(exit.value);
  if (name != nullptr) text = text.empty() ? name : std::string(name) + ": " + text;
  return text;
}

void Win32Platform::endSolverOnInterrupt(int exitCode, const std::string& notice) {
  InstallInterruptHandler(exitCode, notice);
}

void Win32Platform::endSolverAndExit(int exitCode) { EndSolverAndExitNow(exitCode); }

void Win32Platform::closeProcessHandles(ProcessRecord& process) {
  SetInterruptibleSolver(0);
  // A solver that ended by itself may have left a child that would write
  // KM.OUT later, into this run's verdict or the next run.
  job_.endAll(1);
  crashCatcher_.release(process.processId);
  UniqueHandle(AsHandle(process.process)).reset();
  UniqueHandle(AsHandle(process.thread)).reset();
  process.process = 0;
  process.thread = 0;
}

}  // namespace kalmor
