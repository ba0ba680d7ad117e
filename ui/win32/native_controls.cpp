#include "ui/win32/native_controls.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "resources/pictures.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/dpi_metrics.h"
#include "ui/win32/native_kind.h"
#include "ui/win32/window_dc.h"
#include "ui/win32/native_layout.h"

namespace kalmor {

NativeControls::NativeControls(HWND mainWindow, const std::vector<Control*>& controls,
                               const std::vector<Control*>& focusOrder, int dpi)
    : main_(mainWindow), controls_(controls), focusOrder_(focusOrder), dpi_(dpi) {
  makeFonts();
  for (Control* control : controls_) {
    if (!ShownOnScreen(*control) && !focusable(*control)) continue;
    if (HWND window = create(*control, focusable(*control))) windows_[control] = window;
  }
  stackInTabOrder();
  for (Control* control : controls_) syncOne(*control);
}

NativeControls::~NativeControls() {
  if (toolTip_ != nullptr) DestroyWindow(toolTip_);
  for (const auto& [control, window] : windows_) DestroyWindow(window);
}

HWND NativeControls::windowOf(const Control& control) const {
  const auto it = windows_.find(&control);
  return it == windows_.end() ? nullptr : it->second;
}

Control* NativeControls::controlOf(HWND window) const {
  for (const auto& [control, w] : windows_) {
    if (w == window) return const_cast<Control*>(control);
  }
  return nullptr;
}

HWND NativeControls::create(Control& control, bool focusable) {
  DWORD style = WS_CHILD | (focusable ? WS_TABSTOP : 0);
  const wchar_t* windowClass = L"STATIC";
  switch (NativeKindOf(control)) {
    case NativeKind::None:
      return nullptr;
    case NativeKind::GroupBox:
      windowClass = L"BUTTON";
      style |= BS_GROUPBOX;
      break;
    case NativeKind::Label: {
      const auto& label = static_cast<const Label&>(control);
      // "&" is text in a label; fixed-size labels wrap words like the
      // original toolkit's, auto-sized ones are measured on one line.
      style |= SS_NOPREFIX | (label.autoSize() ? SS_LEFTNOWORDWRAP : SS_LEFT);
      // Mouse messages reach a tool tip's label only with SS_NOTIFY.
      if (!label.toolTip().empty()) style |= SS_NOTIFY;
      break;
    }
    case NativeKind::DropDownList:
      windowClass = L"COMBOBOX";
      style |= WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS;
      break;
    case NativeKind::PushButton:
      windowClass = L"BUTTON";
      style |= BS_PUSHBUTTON;
      break;
    case NativeKind::Image:
      style |= SS_ICON | SS_CENTERIMAGE;
      break;
  }
  return CreateWindowExW(0, windowClass, L"", style, 0, 0, 0, 0, main_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control.name()))),
                         GetModuleHandleW(nullptr), nullptr);
}

bool NativeControls::focusable(const Control& control) const {
  return std::find(focusOrder_.begin(), focusOrder_.end(), &control) != focusOrder_.end();
}

HWND NativeControls::keepWindowIfShown(Control& control) {
  HWND window = windowOf(control);
  const bool wanted = ShownOnScreen(control) || focusable(control);
  if (window == nullptr && wanted) {
    window = create(control, focusable(control));
    if (window == nullptr) return nullptr;
    windows_[&control] = window;
    stackInTabOrder();
  } else if (window != nullptr && !wanted) {
    if (toolTip_ != nullptr) {
      TOOLINFOW tool{};
      tool.cbSize = sizeof(tool);
      tool.hwnd = main_;
      tool.uId = reinterpret_cast<UINT_PTR>(window);
      SendMessageW(toolTip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    DestroyWindow(window);
    windows_.erase(&control);
    window = nullptr;
  }
  return window;
}

void NativeControls::stackInTabOrder() {
  HWND above = HWND_TOP;
  for (const Control* control : ZOrder(controls_, focusOrder_)) {
    HWND window = windowOf(*control);
    if (window == nullptr) continue;
    SetWindowPos(window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = window;
  }
}

void NativeControls::setDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  // The windows keep using the old fonts until each is synced anew.
  const UniqueFont oldFont = std::move(font_);
  const UniqueFont oldBold = std::move(boldFont_);
  const auto oldSized = std::exchange(sizedFonts_, {});
  makeFonts();
  for (Control* control : controls_) syncOne(*control);
  InvalidateRect(main_, nullptr, TRUE);
}

void NativeControls::sync(Control& control) {
  syncOne(control);
  if (control.kind() != ControlKind::Frame) return;
  for (Control* other : controls_) {
    for (const Control* c = other->container(); c != nullptr; c = c->container()) {
      if (c == &control) {
        syncOne(*other);
        break;
      }
    }
  }
}

void NativeControls::makeFonts() {
  logFont_ = MessageFont(dpi_);
  // Height 0 is "some default size", which leaves nothing to shrink from.
  if (logFont_.lfHeight == 0) logFont_.lfHeight = -MulDiv(8, dpi_, 72);
  font_.reset(CreateSizedFont(logFont_, false, 0));
  boldFont_.reset(CreateSizedFont(logFont_, true, 0));
  TEXTMETRICW metrics{};
  {
    const WindowDc dc(main_, font_.get());
    GetTextMetricsW(dc.get(), &metrics);
  }
  lineHeight_ = metrics.tmHeight;
}

HFONT NativeControls::labelFont(bool bold, int height) {
  if (height == std::abs(logFont_.lfHeight)) return bold ? boldFont_.get() : font_.get();
  UniqueFont& font = sizedFonts_[{height, bold}];
  if (font == nullptr) font.reset(CreateSizedFont(logFont_, bold, height));
  return font.get();
}

// The pictures are 16 x 16 at 96 dpi, as the 240-twip image that shows them.
int NativeControls::pictureSize() const { return NearestDrawnSize(TwipsToPixels(240, dpi_)); }

}  // namespace kalmor
