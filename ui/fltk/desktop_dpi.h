// The resolution the window is laid out for. Desktops set the X resource
// Xft.dpi (their "font scaling"), which the X screen's own dpi often does not
// follow; FLTK reads only the latter.
#pragma once

namespace kalmor {

// Xft.dpi from the X server's resources where it holds a usable value, else
// the screen's dpi; the display must be open.
double DesktopDpi();

}  // namespace kalmor
