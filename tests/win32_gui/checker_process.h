// The real checker program, started and driven from outside as a user would:
// its window found by process, its controls by their fixed IDs, presses posted
// to the real buttons, and texts read back from the real controls.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "ui/win32/windows_api.h"

namespace kalmor::driver {

using std::chrono::milliseconds;

// Polls condition until it holds or the time is up; true when it held.
bool WaitUntil(const std::function<bool()>& condition, milliseconds limit);

class CheckerProcess {
 public:
  // Starts program with folder as its current folder; waits for its window.
  CheckerProcess(const std::string& program, const std::string& folder, milliseconds limit);
  ~CheckerProcess();
  CheckerProcess(const CheckerProcess&) = delete;
  CheckerProcess& operator=(const CheckerProcess&) = delete;

  bool started() const { return window_ != nullptr; }
  HWND window() const { return window_; }
  HWND item(const char* controlName) const;
  std::wstring text(const char* controlName) const;
  std::wstring title() const;
  std::vector<std::wstring> listItems(const char* controlName) const;
  int listIndex(const char* controlName) const;

  // Posted, so that this program goes on while the press runs in the checker.
  void click(const char* controlName) const;
  void requestClose() const;
  // Asks as Windows does before logging off or shutting down.
  void querySystemShutdown() const;

  // True when the process ended within the limit; exitCode then holds its code.
  bool waitForExit(milliseconds limit, DWORD& exitCode) const;

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// Processes named kmwin32.exe or kmwin64.exe, whoever started them.
int CountSolverProcesses();

}  // namespace kalmor::driver
