#include "tests/support/win32/screen_reader_probe.h"

#include <oleacc.h>

#include "platform/win32/win32_text.h"

namespace kalmor::probes {
namespace {

std::vector<HWND> gHeard;

void CALLBACK OnLiveRegion(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) gHeard.push_back(window);
}

std::wstring Take(BSTR text) {
  std::wstring out = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
  SysFreeString(text);
  return out;
}

Spoken Ask(HWND window) {
  Spoken spoken{window, {}, {}, {}};
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(&object)))) {
    return spoken;
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK) spoken.name = Take(text);
  text = nullptr;
  if (object->get_accKeyboardShortcut(self, &text) == S_OK) spoken.shortcut = Take(text);
  VARIANT role{};
  if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) {
    wchar_t roleText[64] = {};
    GetRoleTextW(static_cast<DWORD>(role.lVal), roleText, 64);
    spoken.role = roleText;
  }
  object->Release();
  return spoken;
}

}  // namespace

std::vector<Spoken> SpokenChildren(HWND window) {
  std::vector<Spoken> spoken;
  IAccessible* client = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(&client)))) {
    return spoken;
  }
  LONG count = 0;
  client->get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  LONG got = 0;
  AccessibleChildren(client, 0, count, children.data(), &got);
  for (LONG i = 0; i < got; ++i) {
    VARIANT& child = children[static_cast<std::size_t>(i)];
    HWND childWindow = nullptr;
    IAccessible* object = nullptr;
    if (child.vt == VT_DISPATCH && child.pdispVal != nullptr &&
        SUCCEEDED(child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object)))) {
      WindowFromAccessibleObject(object, &childWindow);
      object->Release();
    }
    VariantClear(&child);
    if (childWindow != nullptr && IsWindowVisible(childWindow)) spoken.push_back(Ask(childWindow));
  }
  client->Release();
  return spoken;
}

std::string Listing(const std::vector<Spoken>& controls) {
  std::string out;
  for (const Spoken& c : controls) {
    wchar_t windowClass[32] = {};  // what Windows derives the role from, where Wine says "client"
    GetClassNameW(c.window, windowClass, 32);
    out += std::to_string(GetDlgCtrlID(c.window)) + "  " + WideToUtf8(windowClass) + "  " + WideToUtf8(c.role) + "  \"" +
           WideToUtf8(c.name) + "\"  " + WideToUtf8(c.shortcut) + "\n";
  }
  return out;
}

LiveRegionHook::LiveRegionHook(DWORD processId)
    : hook_(SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                            OnLiveRegion, processId, 0, WINEVENT_OUTOFCONTEXT)) {
  gHeard.clear();
}

LiveRegionHook::~LiveRegionHook() {
  if (hook_ != nullptr) UnhookWinEvent(hook_);
}

std::vector<HWND> LiveRegionHook::heard() const {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  return gHeard;
}

}  // namespace kalmor::probes
