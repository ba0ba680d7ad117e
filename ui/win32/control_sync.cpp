// Copying a control's properties onto its native window.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/win32/win32_text.h"
#include "resources/pictures.h"
#include "ui/label_fit.h"
#include "ui/pixel_layout.h"
#include "ui/win32/native_controls.h"
#include "ui/win32/native_layout.h"
#include "ui/win32/native_text.h"
#include "ui/win32/window_dc.h"

namespace kalmor {
namespace {

// Setting an unchanged text would repaint (and flicker) for nothing.
void SetText(HWND window, const std::wstring& text) {
  std::wstring current(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  current.resize(static_cast<std::size_t>(
      GetWindowTextW(window, current.data(), static_cast<int>(current.size()))));
  if (current != text) SetWindowTextW(window, text.c_str());
}

void SetFont(HWND window, HFONT font) {
  if (reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)) != font) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

std::wstring ListItem(HWND list, int index) {
  const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

void NativeControls::syncOne(Control& control) {
  if (control.kind() == ControlKind::Form) {
    syncForm(static_cast<const Form&>(control));
    return;
  }
  HWND window = keepWindowIfShown(control);
  if (window == nullptr) return;
  switch (control.kind()) {
    case ControlKind::Frame:
      SetFont(window, font_.get());
      SetText(window, Utf8ToWide(static_cast<const Frame&>(control).caption()));
      break;
    case ControlKind::Label:
      syncLabel(static_cast<const Label&>(control), window);
      break;
    case ControlKind::ComboBox:
      syncList(static_cast<const ComboBox&>(control), window);
      break;
    case ControlKind::Button:
      syncButton(static_cast<const Button&>(control), window);
      break;
    case ControlKind::Image: {
      const HICON icon = icons_.icon(static_cast<const Image&>(control).picture(), pictureSize());
      if (reinterpret_cast<HICON>(SendMessageW(window, STM_GETICON, 0, 0)) != icon) {
        SendMessageW(window, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
      }
      break;
    }
    default:
      break;
  }
  place(control, window);
  if (control.kind() == ControlKind::ComboBox) {
    fitListFont(static_cast<const ComboBox&>(control), window);
  }
  EnableWindow(window, control.enabled() ? TRUE : FALSE);
  const bool shown = ShownOnScreen(control);
  if (((GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0) != shown) {
    ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
  }
}

void NativeControls::syncForm(const Form& form) {
  SetText(main_, Utf8ToWide(form.caption()));
  // Small icon for the title bar, big one (about twice the size) for task switching.
  SendMessageW(main_, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(icons_.icon(form.icon(), pictureSize())));
  SendMessageW(main_, WM_SETICON, ICON_BIG,
               reinterpret_cast<LPARAM>(icons_.icon(form.icon(), NearestDrawnSize(2 * pictureSize()))));
}

void NativeControls::syncLabel(const Label& label, HWND window) {
  // A label sized to its text gets the font that fits its room when placed.
  if (!label.autoSize()) SetFont(window, label.bold() ? boldFont_.get() : font_.get());
  SetText(window, Utf8ToWide(WithCrLf(label.caption())));
  // The colours are asked for at painting (WM_CTLCOLORSTATIC); a change
  // shows with the next paint.
  InvalidateRect(window, nullptr, TRUE);
  syncToolTip(label, window);
}

void NativeControls::syncToolTip(const Label& label, HWND window) {
  if (label.toolTip().empty() && toolTip_ == nullptr) return;
  if (toolTip_ == nullptr) {
    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, main_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  }
  std::wstring text = Utf8ToWide(label.toolTip());
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = main_;
  tool.uId = reinterpret_cast<UINT_PTR>(window);
  const bool known = SendMessageW(toolTip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.lpszText = text.data();
  if (!known && !text.empty()) {
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  } else if (known && text.empty()) {
    SendMessageW(toolTip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  } else if (known) {
    SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void NativeControls::syncList(const ComboBox& list, HWND window) {
  const auto& items = list.items();
  bool same = SendMessageW(window, CB_GETCOUNT, 0, 0) == static_cast<LRESULT>(items.size());
  for (std::size_t i = 0; same && i < items.size(); ++i) {
    same = ListItem(window, static_cast<int>(i)) == Utf8ToWide(items[i]);
  }
  if (!same) {
    SendMessageW(window, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(item).c_str()));
    }
  }
  // CB_SETCURSEL raises no CBN_SELCHANGE, so this does not come back as a choice.
  if (SendMessageW(window, CB_GETCURSEL, 0, 0) != list.listIndex()) {
    SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(list.listIndex()), 0);
  }
}

void NativeControls::fitListFont(const ComboBox& list, HWND window) {
  // The widest item keeps clear of the arrow, as a label of its neighbour.
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!GetComboBoxInfo(window, &info)) return;
  const int room = info.rcItem.right - info.rcItem.left - 2 * std::max(2, TwipsToPixels(30, dpi_));
  std::wstring widest;
  LONG widestWidth = -1;
  for (const std::string& item : list.items()) {
    std::wstring text = Utf8ToWide(item);
    const LONG width = textSize(window, font_.get(), text).cx;
    if (width > widestWidth) {
      widestWidth = width;
      widest = std::move(text);
    }
  }
  SetFont(window, fittingFont(window, false, room, widest));
}

void NativeControls::syncButton(const Button& button, HWND window) {
  // The picture sits beside the caption; both stay clear of the edges. The
  // button draws the caption right after the picture, so the picture brings
  // the gap that neighbours keep.
  const std::wstring caption = Utf8ToWide(button.caption());
  const int gap = ButtonPictureGap(pictureSize());
  const int room = ClientPixelRect(button, dpi_).w - pictureSize() -
                   2 * GetSystemMetrics(SM_CXEDGE) - 2 * gap;
  SetFont(window, fittingFont(window, false, room, caption));
  SetText(window, caption);
  const HICON icon = icons_.icon(button.picture(), pictureSize(), gap);
  if (reinterpret_cast<HICON>(SendMessageW(window, BM_GETIMAGE, IMAGE_ICON, 0)) != icon) {
    SendMessageW(window, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  }
}

void NativeControls::place(const Control& control, HWND window) {
  PixelRect r = ClientPixelRect(control, dpi_);
  if (control.kind() == ControlKind::Label) {
    const auto& label = static_cast<const Label&>(control);
    if (label.autoSize()) {
      const std::wstring caption = Utf8ToWide(WithCrLf(label.caption()));
      // Smoothed glyphs may ink a pixel past their advance; the label must not clip it.
      const int overhang = std::max(1, dpi_ / 96);
      const int room = LabelRoom(label, controls_, dpi_);
      const HFONT font = fittingFont(window, label.bold(), room - overhang, caption);
      SetFont(window, font);
      const SIZE text = textSize(window, font, caption);
      r.w = std::min(static_cast<int>(text.cx) + overhang, room);
      r.h = text.cy;
    } else {
      // The system font may be taller than the layout's design font.
      r.h = std::max(r.h, LabelLines(label) * lineHeight_);
    }
  } else if (control.kind() == ControlKind::ComboBox) {
    // A drop-down list's window height includes its opened list.
    r.h += 8 * lineHeight_;
  }
  RECT now{};
  GetWindowRect(window, &now);
  MapWindowPoints(HWND_DESKTOP, main_, reinterpret_cast<POINT*>(&now), 2);
  if (now.left != r.x || now.top != r.y || now.right - now.left != r.w ||
      now.bottom - now.top != r.h) {
    SetWindowPos(window, nullptr, r.x, r.y, r.w, r.h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HFONT NativeControls::fittingFont(HWND window, bool bold, int room, const std::wstring& text) {
  const int normal = std::abs(logFont_.lfHeight);
  const int height = FittingFontSize(normal, SmallestFontSize(normal), room, [&](int h) {
    return static_cast<int>(textSize(window, labelFont(bold, h), text).cx);
  });
  return labelFont(bold, height);
}

SIZE NativeControls::textSize(HWND window, HFONT font, const std::wstring& text) const {
  const WindowDc dc(window, font);
  RECT bounds{0, 0, 0, 0};
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &bounds,
            DT_CALCRECT | DT_NOPREFIX | DT_LEFT);
  return SIZE{bounds.right - bounds.left, std::max<LONG>(bounds.bottom - bounds.top, lineHeight_)};
}

}  // namespace kalmor
