// A screen reader's view of a window, asked the way screen readers ask:
// through oleacc (MSAA), also across processes.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace kalmor::probes {

// The window's child controls, hidden ones too, with the names their
// accessible objects give; listing gets a line a control: id, window class
// (what Windows takes the role from where Wine says "client"), role, name,
// keyboard shortcut, and "hidden" for one out of sight.
std::vector<std::pair<HWND, std::wstring>> SpokenChildren(HWND window, std::string& listing);

// From now on, the live-region events that the process raises are heard;
// the windows that raised them so far, once this thread has served its messages.
void HearLiveRegions(DWORD processId);
std::vector<HWND> HeardLiveRegions();

}  // namespace kalmor::probes
