#include "tests/support/win32/screen_reader_probe.h"

#include <oleacc.h>

#include "platform/win32/win32_text.h"

namespace kalmor::probes {
namespace {

std::vector<HWND> gHeard;

void CALLBACK OnLiveRegion(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) gHeard.push_back(window);
}

// What a getter answers for the object itself (a VT_I4 of 0); empty for no answer.
std::string Asked(IAccessible& object, HRESULT (STDMETHODCALLTYPE IAccessible::*getter)(VARIANT, BSTR*)) {
  BSTR text = nullptr;
  const HRESULT answer = (object.*getter)(VARIANT{{{VT_I4, 0, 0, 0, {}}}}, &text);
  std::string out = answer == S_OK && text != nullptr ? WideToUtf8(std::wstring(text, SysStringLen(text))) : "";
  SysFreeString(text);
  return out;
}

}  // namespace

std::vector<std::pair<HWND, std::wstring>> SpokenChildren(HWND window, std::string& listing) {
  std::vector<std::pair<HWND, std::wstring>> spoken;
  IAccessible* object = nullptr;
  VARIANT children[32] = {};
  LONG got = 0;
  if (SUCCEEDED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object)))) {
    AccessibleChildren(object, 0, 32, children, &got);
    object->Release();
  }
  for (VARIANT& child : std::vector<VARIANT>(children, children + got)) {
    HWND control = nullptr;
    if (child.vt == VT_DISPATCH) WindowFromAccessibleObject(reinterpret_cast<IAccessible*>(child.pdispVal), &control);
    VariantClear(&child);
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object)))) {
      continue;
    }
    VARIANT role{};
    wchar_t roleText[64] = {}, windowClass[32] = {};
    if (object->get_accRole(VARIANT{{{VT_I4, 0, 0, 0, {}}}}, &role) == S_OK && role.vt == VT_I4) {
      GetRoleTextW(static_cast<DWORD>(role.lVal), roleText, 64);
    }
    GetClassNameW(control, windowClass, 32);
    const std::string name = Asked(*object, &IAccessible::get_accName);
    listing += std::to_string(GetDlgCtrlID(control)) + "  " + WideToUtf8(windowClass) + "  " + WideToUtf8(roleText) +
               "  \"" + name + "\"  " + Asked(*object, &IAccessible::get_accKeyboardShortcut) +
               (IsWindowVisible(control) ? "\n" : "  hidden\n");
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
