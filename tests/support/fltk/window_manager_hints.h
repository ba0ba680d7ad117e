// What a shown window told the window manager, read back from the X server.
#pragma once

#include <string>

class Fl_Window;

namespace kalmor {

// The title the window manager shows (UTF-8); empty when it has none.
std::string WindowManagerTitle(Fl_Window& window);
// Minimum and maximum size both given, and equal to the window's size.
bool HasFixedSizeHints(Fl_Window& window);
// The icon property holds an image of this size first.
bool HasIconOfSize(Fl_Window& window, int w, int h);

}  // namespace kalmor
