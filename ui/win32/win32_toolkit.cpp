#include "ui/win32/win32_toolkit.h"

#include "platform/win32/win32_text.h"
#include "ui/win32/dpi_metrics.h"
#include "ui/win32/native_layout.h"
#include "ui/win32/native_text.h"

namespace kalmor {
namespace {

constexpr UINT_PTR kTimerId = 1;

}  // namespace

Win32Toolkit::~Win32Toolkit() {
  screenReader_.reset();
  natives_.reset();
  if (main_ != nullptr) DestroyWindow(main_);
}

void Win32Toolkit::attach(frmKalmorChecker& window) {
  window_ = &window;
  window.setObserver(this);
}

void Win32Toolkit::open() {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  main_ = CreateMainWindow(*this);
  const int dpi = DpiOfWindow(main_);
  natives_ = std::make_unique<NativeControls>(main_, window_->controls(), window_->focusOrder(), dpi);
  screenReader_ = std::make_unique<ScreenReader>();
  nameSilentControls();
  // Where the focus is shows from the start, not only after a first key.
  SendMessageW(main_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  const Rect& client = window_->form.rect();
  SizeAndCentre(main_, TwipsToPixels(client.width, dpi), TwipsToPixels(client.height, dpi), dpi);
  syncTimer();
  ShowWindow(main_, SW_SHOWNORMAL);
  UpdateWindow(main_);
  if (Control* first = window_->initialFocus()) setFocus(*first);
}

void Win32Toolkit::deliver(MSG& message) {
  // The dialog manager gives Tab, the arrow keys and the access keys their meaning.
  if (main_ != nullptr && IsDialogMessageW(main_, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int Win32Toolkit::run() {
  MSG message{};
  BOOL got = 0;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) deliver(message);
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

void Win32Toolkit::doEvents() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the outer loop, which ends on it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    deliver(message);
  }
}

void Win32Toolkit::refresh(Label& label) {
  if (natives_ == nullptr) return;
  if (HWND window = natives_->windowOf(label)) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
  }
}

void Win32Toolkit::setFocus(Control& control) {
  if (natives_ == nullptr) return;
  if (HWND window = natives_->windowOf(control)) SetFocus(window);
}

void Win32Toolkit::announce(Label& label) {
  if (natives_ == nullptr) return;
  nameSilentControls();
  HWND window = natives_->windowOf(label);
  if (window != nullptr && !label.caption().empty()) screenReader_->announce(window);
}

void Win32Toolkit::nameSilentControls() {
  for (Control* control : window_->controls()) {
    HWND window = natives_->windowOf(*control);
    if (window == nullptr) continue;
    const std::string name = window_->SpokenName(*control);
    if (!name.empty()) ScreenReader::name(window, Utf8ToWide(name));
    if (control->kind() == ControlKind::Label) {
      screenReader_->describe(window, Utf8ToWide(static_cast<const Label&>(*control).toolTip()));
    }
  }
}

void Win32Toolkit::endProgram() {
  if (main_ != nullptr) DestroyWindow(main_);
  ExitProcess(0);
}

void Win32Toolkit::controlChanged(Control& control) {
  if (natives_ == nullptr) return;  // open() copies everything start-up did
  if (&control == &window_->Timer1) {
    syncTimer();
  } else {
    natives_->sync(control);
    nameSilentControls();
  }
}

void Win32Toolkit::syncTimer() {
  const Timer& timer = window_->Timer1;
  if (timer.enabled()) {
    SetTimer(main_, kTimerId, static_cast<UINT>(timer.interval()), nullptr);
  } else {
    KillTimer(main_, kTimerId);
  }
}

LRESULT Win32Toolkit::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      command(wParam, lParam);
      return 0;
    case DM_GETDEFID:
      return defaultButton();
    case WM_TIMER:
      if (wParam == kTimerId && window_->Timer1.enabled()) window_->Timer1_Timer();
      return 0;
    case WM_CTLCOLORSTATIC:
      return labelColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:  // close box, system menu, Alt+F4
      queryUnload(0);
      return 0;
    case WM_QUERYENDSESSION:
      queryUnload(2);
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != 0) queryUnload(2);
      return 0;
    case WM_ACTIVATE:
      // Like a dialog: the focus leaves and comes back with the window's activation.
      if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus_ = GetFocus();
      } else if (lastFocus_ != nullptr && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
      }
      return 0;
    case WM_DPICHANGED: {
      if (natives_ != nullptr) {
        natives_->setDpi(HIWORD(wParam));
        nameSilentControls();  // syncing every control anew gave the hidden button its empty caption
      }
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// No button is the default, but Enter presses the focused one, as in the
// original toolkit: the dialog manager asks here which button Enter presses.
LRESULT Win32Toolkit::defaultButton() const {
  const HWND focused = GetFocus();
  const Control* control = natives_ != nullptr ? natives_->controlOf(focused) : nullptr;
  if (control == nullptr || control->kind() != ControlKind::Button) return 0;
  return MAKELRESULT(GetDlgCtrlID(focused), DC_HASDEFID);
}

void Win32Toolkit::command(WPARAM wParam, LPARAM lParam) {
  if (natives_ == nullptr) return;
  // Enter and Escape without a default button come as IDOK and IDCANCEL
  // from no control; they find none here.
  Control* control = natives_->controlOf(reinterpret_cast<HWND>(lParam));
  if (control == nullptr || !control->enabled()) return;
  const WORD code = HIWORD(wParam);
  if (control->kind() == ControlKind::Button && code == BN_CLICKED) {
    auto& button = static_cast<Button&>(*control);
    if (button.onClick) button.onClick();
  } else if (control->kind() == ControlKind::ComboBox && code == CBN_SELCHANGE) {
    auto& list = static_cast<ComboBox&>(*control);
    const int chosen = static_cast<int>(SendMessageW(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0));
    if (chosen != list.listIndex()) list.setListIndex(chosen);
  }
}

LRESULT Win32Toolkit::labelColours(HDC dc, HWND window) {
  const Control* control = natives_ != nullptr ? natives_->controlOf(window) : nullptr;
  if (control == nullptr || control->kind() != ControlKind::Label) {
    return DefWindowProcW(main_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(window));
  }
  const auto& label = static_cast<const Label&>(*control);
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  SetTextColor(dc, ColourRef(label.foreColour(), text, face));
  // A label's background is always the button face, as the brush.
  SetBkColor(dc, ColourRef(label.backColour(), text, face));
  SetBkMode(dc, OPAQUE);
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void Win32Toolkit::queryUnload(int unloadMode) {
  bool cancel = false;
  window_->Form_QueryUnload(cancel, unloadMode);
  if (!cancel) endProgram();
}

}  // namespace kalmor
