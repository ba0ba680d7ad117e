#include "ui/win32/screen_reader.h"

#include <oleacc.h>

#include <algorithm>

namespace kalmor {
namespace {

// UI Automation's LiveSetting property, which dynamic annotation carries.
constexpr GUID kLiveSetting = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;

}  // namespace

ScreenReader::ScreenReader() {
  comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&annotations_)))) {
    annotations_ = nullptr;
  }
}

ScreenReader::~ScreenReader() {
  if (annotations_ != nullptr) {
    for (HWND window : live_) {
      MSAAPROPID property = kLiveSetting;
      annotations_->ClearHwndProps(window, OBJID_CLIENT, CHILDID_SELF, &property, 1);
    }
    annotations_->Release();
  }
  if (comStarted_) CoUninitialize();
}

void ScreenReader::name(HWND window, const std::wstring& name) {
  std::wstring current(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  current.resize(static_cast<std::size_t>(
      GetWindowTextW(window, current.data(), static_cast<int>(current.size()))));
  // Past the control's own handling: an icon's static would take the text
  // for the name of an icon resource.
  if (current != name) DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

void ScreenReader::announce(HWND window) {
  if (annotations_ != nullptr && std::find(live_.begin(), live_.end(), window) == live_.end()) {
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    if (SUCCEEDED(annotations_->SetHwndProp(window, OBJID_CLIENT, CHILDID_SELF, kLiveSetting, polite))) {
      live_.push_back(window);
    }
  }
  NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace kalmor
