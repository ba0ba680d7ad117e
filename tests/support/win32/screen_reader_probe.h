// A screen reader's view of a window, asked the way screen readers ask:
// through oleacc (MSAA), also across processes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kalmor::probes {

struct Spoken {
  HWND window;
  std::wstring name, role, shortcut;
};

// The window's visible child controls, each as its accessible object answers.
std::vector<Spoken> SpokenChildren(HWND window);
// One line a control: its id, window class, role, name in quotes and keyboard shortcut.
std::string Listing(const std::vector<Spoken>& controls);

// Hears the live-region events of one process while it lives; the thread
// that made it must serve its messages for the events to arrive (heard()).
class LiveRegionHook {
 public:
  explicit LiveRegionHook(DWORD processId);
  ~LiveRegionHook();
  LiveRegionHook(const LiveRegionHook&) = delete;
  LiveRegionHook& operator=(const LiveRegionHook&) = delete;
  // Serves the pending messages, then the windows that raised the event so far.
  std::vector<HWND> heard() const;

 private:
  HWINEVENTHOOK hook_;
};

}  // namespace kalmor::probes
