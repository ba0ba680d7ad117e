// The checker window's toolkit on Win32: native controls kept in step with
// the control objects, user events forwarded to the window's handlers, the
// event pump, immediate repaint, focus, the 500 ms timer and ending the program.
#pragma once

#include <memory>

#include "testbench/frm_kalmor_checker.h"
#include "testbench/toolkit.h"
#include "ui/win32/main_window.h"
#include "ui/win32/native_controls.h"
#include "ui/win32/screen_reader.h"

namespace kalmor {

class Win32Toolkit : public Toolkit, public ControlObserver, private MainWindowHandler {
 public:
  Win32Toolkit() = default;
  ~Win32Toolkit() override;
  Win32Toolkit(const Win32Toolkit&) = delete;
  Win32Toolkit& operator=(const Win32Toolkit&) = delete;

  // The window this toolkit shows; from now on it hears of every change.
  void attach(frmKalmorChecker& window);
  // Creates the native windows from the controls as start-up left them,
  // sizes and centres the window, shows it and gives the focus to the
  // window's first control.
  void open();
  // Serves events until the program ends; returns only on WM_QUIT.
  int run();

  HWND mainWindow() const { return main_; }
  // Null before open().
  const NativeControls* natives() const { return natives_.get(); }

  void doEvents() override;
  void refresh(Label& label) override;
  void setFocus(Control& control) override;
  void announce(Label& label) override;
  [[noreturn]] void endProgram() override;
  Clock::time_point now() override { return Clock::now(); }

 private:
  void controlChanged(Control& control) override;
  LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void deliver(MSG& message);
  void syncTimer();
  // Gives the windows that show no text the names the window has for them,
  // and each label its tool tip as its description.
  void nameSilentControls();
  LRESULT defaultButton() const;
  void command(WPARAM wParam, LPARAM lParam);
  LRESULT labelColours(HDC dc, HWND label);
  void queryUnload(int unloadMode);

  frmKalmorChecker* window_ = nullptr;
  HWND main_ = nullptr;
  std::unique_ptr<NativeControls> natives_;
  std::unique_ptr<ScreenReader> screenReader_;
  HWND lastFocus_ = nullptr;
};

}  // namespace kalmor
