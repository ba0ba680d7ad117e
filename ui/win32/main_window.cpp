#include "ui/win32/main_window.h"

#include "ui/win32/dpi_metrics.h"
#include "ui/win32/native_layout.h"

namespace kalmor {
namespace {

constexpr const wchar_t* kWindowClass = L"KalmorCheckerWindow";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* handler = reinterpret_cast<MainWindowHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (handler == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return handler->handleMessage(window, message, wParam, lParam);
}

void RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  (void)registered;
}

}  // namespace

HWND CreateMainWindow(MainWindowHandler& handler) {
  RegisterOnce();
  return CreateWindowExW(kMainWindowExStyle, kWindowClass, L"", kMainWindowStyle, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                         GetModuleHandleW(nullptr), &handler);
}

void SizeAndCentre(HWND window, int clientWidth, int clientHeight, int dpi) {
  const SIZE outer = OuterSize(clientWidth, clientHeight, kMainWindowStyle, kMainWindowExStyle, dpi);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  const PixelRect placed = CentredIn(
      PixelRect{work.left, work.top, work.right - work.left, work.bottom - work.top}, outer.cx,
      outer.cy);
  SetWindowPos(window, nullptr, placed.x, placed.y, placed.w, placed.h,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kalmor
