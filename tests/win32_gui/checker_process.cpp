#include "tests/win32_gui/checker_process.h"

#include <tlhelp32.h>

#include <thread>

#include "ui/win32/control_ids.h"

namespace kalmor::driver {
namespace {

// A checker that does not answer within this is hung; the test then fails
// instead of waiting for ever.
constexpr UINT kAnswerLimitMs = 5000;

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerLimitMs,
                           &length)) {
    return L"<no answer>";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, kAnswerLimitMs, &copied);
  text.resize(copied);
  return text;
}

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM searchAddress) {
  auto* search = reinterpret_cast<Search*>(searchAddress);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t windowClass[64] = {};
  GetClassNameW(window, windowClass, 64);
  if (owner == search->processId && IsWindowVisible(window) &&
      std::wstring(windowClass) == L"KalmorCheckerWindow") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(milliseconds(50));
  }
}

CheckerProcess::CheckerProcess(const std::string& program, const std::string& folder,
                               milliseconds limit) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  std::string commandLine = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process_)) {
    process_ = PROCESS_INFORMATION{};
    return;
  }
  Search search{process_.dwProcessId, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      limit);
  window_ = search.found;
}

CheckerProcess::~CheckerProcess() {
  if (process_.hProcess == nullptr) return;
  // A check that failed may leave the checker open; it must not outlive the test.
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 99);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND CheckerProcess::item(const char* controlName) const {
  return GetDlgItem(window_, ControlId(controlName));
}

std::wstring CheckerProcess::text(const char* controlName) const {
  const HWND control = item(controlName);
  return control != nullptr ? WindowText(control) : L"<no control>";
}

std::wstring CheckerProcess::title() const { return WindowText(window_); }

std::vector<std::wstring> CheckerProcess::listItems(const char* controlName) const {
  const HWND list = item(controlName);
  std::vector<std::wstring> items;
  DWORD_PTR count = 0;
  SendMessageTimeoutW(list, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kAnswerLimitMs, &count);
  for (DWORD_PTR i = 0; i < count && i < 16; ++i) {
    wchar_t buffer[64] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, kAnswerLimitMs, &ignored);
    items.emplace_back(buffer);
  }
  return items;
}

int CheckerProcess::listIndex(const char* controlName) const {
  DWORD_PTR index = 0;
  SendMessageTimeoutW(item(controlName), CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, kAnswerLimitMs,
                      &index);
  return static_cast<int>(static_cast<LRESULT>(index));
}

void CheckerProcess::click(const char* controlName) const {
  PostMessageW(item(controlName), BM_CLICK, 0, 0);
}

void CheckerProcess::requestClose() const { PostMessageW(window_, WM_CLOSE, 0, 0); }

void CheckerProcess::querySystemShutdown() const {
  // Windows sends it; the checker ends while answering, so no answer comes.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window_, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, kAnswerLimitMs, &ignored);
}

bool CheckerProcess::waitForExit(milliseconds limit, DWORD& exitCode) const {
  if (process_.hProcess == nullptr) return false;
  if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
    return false;
  }
  return GetExitCodeProcess(process_.hProcess, &exitCode) != 0;
}

int CountSolverProcesses() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, L"kmwin32.exe") == 0 ||
        lstrcmpiW(entry.szExeFile, L"kmwin64.exe") == 0) {
      ++count;
    }
  }
  CloseHandle(snapshot);
  return count;
}

}  // namespace kalmor::driver
