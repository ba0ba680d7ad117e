// The checker's top-level window: a fixed single border, a minimise box and
// no maximise box. Its messages go to one handler object.
#pragma once

#include "ui/win32/windows_api.h"

namespace kalmor {

inline constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
inline constexpr DWORD kMainWindowExStyle = 0;

class MainWindowHandler {
 public:
  virtual LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~MainWindowHandler() = default;
};

// Created hidden; every message from WM_NCCREATE on reaches handler.
HWND CreateMainWindow(MainWindowHandler& handler);

// Gives the window this client size at dpi and centres it in the work area
// of its monitor.
void SizeAndCentre(HWND window, int clientWidth, int clientHeight, int dpi);

}  // namespace kalmor
