// What a shown window told the window manager, read back from the X server;
// apart from the rest of the probe, whose names X11's macros would replace.
#include "tests/support/fltk/widget_probe.h"

#include <FL/Fl_Double_Window.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace kalmor {

bool WidgetProbe::fixedSize() const {
  XSizeHints hints{};
  long supplied = 0;
  if (!XGetWMNormalHints(fl_display, fl_xid(&window()), &hints, &supplied)) return false;
  const long both = PMinSize | PMaxSize;
  return (hints.flags & both) == both && hints.min_width == hints.max_width && hints.min_height == hints.max_height &&
         hints.min_width == window().w() && hints.min_height == window().h();
}

bool WidgetProbe::hasIconOfSize(int w, int h) const {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const Atom icon = XInternAtom(fl_display, "_NET_WM_ICON", False);
  if (XGetWindowProperty(fl_display, fl_xid(&window()), icon, 0, 2, False, XA_CARDINAL, &type, &format, &count,
                         &after, &data) != Success) {
    return false;
  }
  // Format 32 comes back as longs: width, height, then the pixels.
  const auto* longs = reinterpret_cast<const unsigned long*>(data);
  const bool match = data != nullptr && format == 32 && count == 2 && longs[0] == static_cast<unsigned long>(w) &&
                     longs[1] == static_cast<unsigned long>(h);
  if (data != nullptr) XFree(data);
  return match;
}

}  // namespace kalmor
