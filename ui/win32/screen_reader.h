// What a screen reader hears beyond the controls' own texts: names for
// windows that show none, and a label's new text spoken while the focus stays
// elsewhere. Where the system lacks a piece, that piece stays silent.
#pragma once

#include <map>
#include <string>
#include <vector>

// The system headers' settings first: com_ref.h includes them too.
#include "ui/win32/windows_api.h"

#include "platform/win32/com_ref.h"

struct IAccPropServices;

namespace kalmor {

class ScreenReader {
 public:
  // Starts COM on this thread, which dynamic annotation needs as long as the
  // windows live.
  ScreenReader();
  // Call before the annotated windows are destroyed.
  ~ScreenReader();
  ScreenReader(const ScreenReader&) = delete;
  ScreenReader& operator=(const ScreenReader&) = delete;

  // The name read for a window that shows no text (an icon, a button out of
  // sight) is its window text; it is stored beside what the window shows.
  static void name(HWND window, const std::wstring& name);
  // What a screen reader reads after the name on request (MSAA's description,
  // UI Automation's HelpText): a label's tool tip, which the mouse alone
  // shows. Empty clears it.
  void describe(HWND window, const std::wstring& description);
  // Marks the window a polite live region and raises the event by which a
  // screen reader speaks its text.
  void announce(HWND window);

 private:
  bool comStarted_ = false;
  ComRef<IAccPropServices> annotations_;  // empty where the system has none
  std::vector<HWND> live_;
  std::map<HWND, std::wstring> described_;
};

}  // namespace kalmor
