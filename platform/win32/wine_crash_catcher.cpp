#include "platform/win32/wine_crash_catcher.h"

#include "platform/win32/terminate_by_id.h"
#include "platform/win32/win32_handle.h"

namespace kalmor {
namespace {

// A break-in on x86 code of a 64-bit system.
constexpr DWORD kWow64Breakpoint = 0x4000001F;

void Serve(const DEBUG_EVENT& event) {
  DWORD reply = DBG_CONTINUE;
  switch (event.dwDebugEventCode) {
    case CREATE_PROCESS_DEBUG_EVENT:
      UniqueHandle(event.u.CreateProcessInfo.hFile).reset();
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

}  // namespace

bool UnderWine() {
  static const bool wine =
      ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

bool CatchCrashesOf(std::uint32_t processId) { return ::DebugActiveProcess(processId) != 0; }

DWORD WaitServingCrashes(HANDLE process, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    const DWORD state = ::WaitForSingleObject(process, 0);
    const DWORD waited = ::GetTickCount() - start;
    DEBUG_EVENT event{};
    if (state != WAIT_TIMEOUT) {
      // Its last events, so that nothing of it waits for this thread.
      while (::WaitForDebugEvent(&event, 0)) Serve(event);
      return state;
    }
    if (waited >= milliseconds) return WAIT_TIMEOUT;
    if (::WaitForDebugEvent(&event, milliseconds - waited)) {
      Serve(event);
    } else if (::GetLastError() != ERROR_SEM_TIMEOUT) {
      // This thread debugs nothing: a plain wait.
      return ::WaitForSingleObject(process, milliseconds - waited);
    }
  }
}

void StopCatchingCrashesOf(std::uint32_t processId) { ::DebugActiveProcessStop(processId); }

}  // namespace kalmor
