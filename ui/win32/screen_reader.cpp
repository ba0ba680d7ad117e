#include "ui/win32/screen_reader.h"

#include <oleacc.h>

#include <algorithm>

namespace kalmor {
namespace {

// UI Automation's LiveSetting property, which dynamic annotation carries.
constexpr GUID kLiveSetting = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;
// PROPID_ACC_DESCRIPTION, defined here as the one above: no GUID library needed.
constexpr GUID kDescription = {0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};

}  // namespace

ScreenReader::ScreenReader() {
  comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  // A failed call stores no reference: the annotations stay empty.
  static_cast<void>(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IAccPropServices, annotations_.putVoid()));
}

ScreenReader::~ScreenReader() {
  if (annotations_) {
    for (HWND window : live_) {
      MSAAPROPID property = kLiveSetting;
      annotations_->ClearHwndProps(window, OBJID_CLIENT, CHILDID_SELF, &property, 1);
    }
    for (const auto& [window, description] : described_) {
      MSAAPROPID property = kDescription;
      annotations_->ClearHwndProps(window, OBJID_CLIENT, CHILDID_SELF, &property, 1);
    }
  }
  // The annotations go before COM itself.
  annotations_.reset();
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

void ScreenReader::describe(HWND window, const std::wstring& description) {
  const auto known = described_.find(window);
  const bool same = known == described_.end() ? description.empty() : known->second == description;
  if (!annotations_ || same) return;
  MSAAPROPID property = kDescription;
  if (description.empty()) {
    annotations_->ClearHwndProps(window, OBJID_CLIENT, CHILDID_SELF, &property, 1);
    described_.erase(known);
  } else if (SUCCEEDED(annotations_->SetHwndPropStr(window, OBJID_CLIENT, CHILDID_SELF, property,
                                                    description.c_str()))) {
    described_[window] = description;
  }
  NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void ScreenReader::announce(HWND window) {
  if (annotations_ && std::find(live_.begin(), live_.end(), window) == live_.end()) {
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
