#include "tests/support/win32/screen_reader_probe.h"

#include <oleacc.h>

#include "platform/win32/win32_text.h"

namespace kalmor::probes {
namespace {

std::vector<HWND> gHeard;

void CALLBACK OnLiveRegion(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) gHeard.push_back(window);
}

// The text a getter gives for the object itself; empty when it gives none.
template <typename Getter>
std::string Asked(IAccessible& object, Getter getter) {
  BSTR text = nullptr;
  VARIANT self{};
  self.vt = VT_I4;  // CHILDID_SELF
  const bool given = (object.*getter)(self, &text) == S_OK && text != nullptr;
  std::string out = given ? WideToUtf8(std::wstring(text, SysStringLen(text))) : "";
  SysFreeString(text);
  return out;
}

}  // namespace

std::vector<std::pair<HWND, std::wstring>> SpokenChildren(HWND window, std::string& listing) {
  std::vector<std::pair<HWND, std::wstring>> spoken;
  IAccessible* client = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&client)))) {
    return spoken;
  }
  std::vector<VARIANT> children(32);
  LONG got = 0;
  AccessibleChildren(client, 0, static_cast<LONG>(children.size()), children.data(), &got);
  client->Release();
  for (LONG i = 0; i < got; ++i) {
    VARIANT& child = children[static_cast<std::size_t>(i)];
    HWND control = nullptr;
    if (child.vt == VT_DISPATCH) WindowFromAccessibleObject(reinterpret_cast<IAccessible*>(child.pdispVal), &control);
    VariantClear(&child);
    IAccessible* object = nullptr;
    if (control == nullptr || !IsWindowVisible(control) ||
        FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object)))) {
      continue;
    }
    VARIANT self{}, role{};
    self.vt = VT_I4;
    wchar_t roleText[64] = {}, windowClass[32] = {};
    if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) GetRoleTextW(static_cast<DWORD>(role.lVal), roleText, 64);
    GetClassNameW(control, windowClass, 32);
    const std::string name = Asked(*object, &IAccessible::get_accName);
    listing += std::to_string(GetDlgCtrlID(control)) + "  " + WideToUtf8(windowClass) + "  " + WideToUtf8(roleText) +
               "  \"" + name + "\"  " + Asked(*object, &IAccessible::get_accKeyboardShortcut) + "\n";
    spoken.emplace_back(control, Utf8ToWide(name));
    object->Release();
  }
  return spoken;
}

void HearLiveRegions(DWORD processId) {
  SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, OnLiveRegion,
                  processId, 0, WINEVENT_OUTOFCONTEXT);
}

std::vector<HWND> HeardLiveRegions() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  return gHeard;
}

}  // namespace kalmor::probes
