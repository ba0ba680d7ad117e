#include "platform/win32/wine_crash_catcher.h"

#include <windows.h>

#include <future>

#include "platform/win32/terminate_by_id.h"
#include "platform/win32/win32_handle.h"

namespace kalmor {
namespace {

// A break-in on x86 code of a 64-bit system.
constexpr DWORD kWow64Breakpoint = 0x4000001F;
// How often a debugger looks whether its run is over, and how long it then
// waits for its solver's last events.
constexpr DWORD kStopCheckMs = 50;
constexpr DWORD kLastEventsMs = 1000;

// Wine leaves the handles of an event to the debugger, and waits for its
// answer before the debuggee goes on.
void Serve(const DEBUG_EVENT& event) {
  DWORD reply = DBG_CONTINUE;
  switch (event.dwDebugEventCode) {
    case CREATE_PROCESS_DEBUG_EVENT:
      UniqueHandle(event.u.CreateProcessInfo.hFile).reset();
      UniqueHandle(event.u.CreateProcessInfo.hProcess).reset();
      UniqueHandle(event.u.CreateProcessInfo.hThread).reset();
      break;
    case CREATE_THREAD_DEBUG_EVENT:
      UniqueHandle(event.u.CreateThread.hThread).reset();
      break;
    case LOAD_DLL_DEBUG_EVENT:
      UniqueHandle(event.u.LoadDll.hFile).reset();
      break;
    case EXCEPTION_DEBUG_EVENT: {
      // Breakpoints are the attaching's and the loader's, for the debugger;
      // every other exception is the solver's own to handle first.
      const DWORD code = event.u.Exception.ExceptionRecord.ExceptionCode;
      if (code == EXCEPTION_BREAKPOINT || code == kWow64Breakpoint) break;
      reply = DBG_EXCEPTION_NOT_HANDLED;
      if (event.u.Exception.dwFirstChance == 0) TerminateById(event.dwProcessId, code);
      break;
    }
    default:
      break;
  }
  ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, reply);
}

void Debug(std::uint32_t processId, const std::atomic<bool>& over, std::promise<bool> attached) {
  const UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  const bool ok = ::DebugActiveProcess(processId) != 0;
  attached.set_value(ok);
  if (!ok) return;
  bool ending = false;
  DWORD endingSince = 0;
  for (;;) {
    // Once the run is over, an ended solver's last events come within
    // moments, and are answered so that none of their handles stays open in
    // the checker; one that still runs (its checker is closing) is let go.
    if (!ending && over.load()) {
      if (::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) break;
      ending = true;
      endingSince = ::GetTickCount();
    }
    if (ending && ::GetTickCount() - endingSince > kLastEventsMs) break;
    DEBUG_EVENT event{};
    if (!::WaitForDebugEvent(&event, kStopCheckMs)) continue;
    Serve(event);
    if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT && event.dwProcessId == processId) {
      return;
    }
  }
  // Still attached: Wine would hold it at its next event for good. Events
  // already queued hold handles made for us, which must not stay open here.
  for (DEBUG_EVENT event{}; ::WaitForDebugEvent(&event, 0);) {
    Serve(event);
    if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT && event.dwProcessId == processId) {
      return;
    }
  }
  ::DebugActiveProcessStop(processId);
}

}  // namespace

bool UnderWine() {
  static const bool wine =
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

WineCrashCatcher::~WineCrashCatcher() {
  while (!debuggers_.empty()) release(debuggers_.front().processId);
}

bool WineCrashCatcher::attach(std::uint32_t processId) {
  std::promise<bool> attached;
  std::future<bool> answer = attached.get_future();
  Debugger& debugger = debuggers_.emplace_back();
  debugger.processId = processId;
  debugger.thread = std::thread(Debug, processId, std::cref(debugger.over), std::move(attached));
  return answer.get();
}

void WineCrashCatcher::release(std::uint32_t processId) {
  for (auto it = debuggers_.begin(); it != debuggers_.end(); ++it) {
    if (it->processId != processId) continue;
    it->over.store(true);
    it->thread.join();
    debuggers_.erase(it);
    return;
  }
}

}  // namespace kalmor
