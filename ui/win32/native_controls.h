// The native child windows of the checker's controls: created once from the
// controls, then kept in step with them, one control at a time.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "testbench/controls.h"
#include "ui/win32/picture_icons.h"
#include "ui/win32/unique_font.h"
#include "ui/win32/windows_api.h"

namespace kalmor {

class NativeControls {
 public:
  // controls: containers before their contents, the form first. Creates the
  // windows as children of mainWindow and copies every property onto them.
  NativeControls(HWND mainWindow, const std::vector<Control*>& controls,
                 const std::vector<Control*>& focusOrder, int dpi);
  ~NativeControls();
  NativeControls(const NativeControls&) = delete;
  NativeControls& operator=(const NativeControls&) = delete;

  // Null for controls without a window of their own, and for those out of
  // sight that take no focus: a hidden window would still be read out, text
  // and all, by screen readers that walk the window's children.
  HWND windowOf(const Control& control) const;
  Control* controlOf(HWND window) const;
  int dpi() const { return dpi_; }

  // Fonts, pictures and positions for a new screen resolution.
  void setDpi(int dpi);
  // Copies the control's properties onto its window; a frame carries its
  // contents along (position, visibility).
  void sync(Control& control);

 private:
  HWND create(Control& control, bool focusable);
  bool focusable(const Control& control) const;
  // Makes or destroys the control's window as it comes into or goes out of
  // sight; the window it has now.
  HWND keepWindowIfShown(Control& control);
  void stackInTabOrder();
  void syncOne(Control& control);
  void syncForm(const Form& form);
  void syncLabel(const Label& label, HWND window);
  void syncToolTip(const Label& label, HWND window);
  void syncList(const ComboBox& list, HWND window);
  void fitListFont(const ComboBox& list, HWND window);
  void syncButton(const Button& button, HWND window);
  void place(const Control& control, HWND window);
  SIZE textSize(HWND window, HFONT font, const std::wstring& text) const;
  // The largest font, down to three quarters of the normal one, in which
  // text is at most room pixels wide.
  HFONT fittingFont(HWND window, bool bold, int room, const std::wstring& text);
  void makeFonts();
  // The font drawn height pixels high: the normal one at its own height.
  HFONT labelFont(bool bold, int height);
  int pictureSize() const;

  HWND main_;
  std::vector<Control*> controls_;
  std::vector<Control*> focusOrder_;
  std::map<const Control*, HWND> windows_;
  int dpi_;
  // Freed after the destructor has destroyed the windows that use them.
  UniqueFont font_;
  UniqueFont boldFont_;
  LOGFONTW logFont_{};
  std::map<std::pair<int, bool>, UniqueFont> sizedFonts_;  // smaller ones, made when needed
  int lineHeight_ = 0;
  PictureIcons icons_;
  HWND toolTip_ = nullptr;
};

}  // namespace kalmor
