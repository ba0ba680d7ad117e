// What a shown window told the window manager, read back from the X server.
#pragma once

class Fl_Window;

namespace kalmor {

// Minimum and maximum size both given, and equal to the window's size.
bool HasFixedSizeHints(Fl_Window& window);
// The icon property holds an image of this size first.
bool HasIconOfSize(Fl_Window& window, int w, int h);

}  // namespace kalmor
