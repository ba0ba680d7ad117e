// Screen resolution, window frame and the system's message font at a given
// dpi. Functions that newer Windows versions have are looked up at run time,
// so the program still starts where they are missing.
#pragma once

#include "ui/win32/windows_api.h"

namespace kalmor {

// GetDpiForWindow where the system has it, else the screen's LOGPIXELSX.
int DpiOfWindow(HWND window);

// The outer size of a window with this client size, style and resolution.
SIZE OuterSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

// The system's message font (the font of message boxes), scaled to dpi.
LOGFONTW MessageFont(int dpi);
// That font in bold or not, drawn height pixels high (its own height when 0).
HFONT CreateSizedFont(LOGFONTW font, bool bold, int height);

}  // namespace kalmor
