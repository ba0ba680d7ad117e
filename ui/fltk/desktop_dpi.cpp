#include "ui/fltk/desktop_dpi.h"

// Before X11's headers, whose macros (None) would replace names in it.
#include "ui/pixel_layout.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <X11/Xresource.h>

#include <cstdlib>

namespace kalmor {
namespace {

// Read from the root window now rather than as the display was opened, so a
// desktop that changed it since is followed. 0 when not set.
double XftDpi() {
  Atom type = 0;
  int format = 0;
  unsigned long length = 0;
  unsigned long after = 0;
  unsigned char* text = nullptr;
  if (XGetWindowProperty(fl_display, RootWindow(fl_display, fl_screen), XA_RESOURCE_MANAGER, 0, 1 << 20, False,
                         XA_STRING, &type, &format, &length, &after, &text) != Success ||
      text == nullptr) {
    return 0;
  }
  XrmInitialize();
  XrmDatabase resources = XrmGetStringDatabase(reinterpret_cast<const char*>(text));
  XFree(text);
  double dpi = 0;
  char* kind = nullptr;
  XrmValue value{};
  if (resources != nullptr && XrmGetResource(resources, "Xft.dpi", "Xft.Dpi", &kind, &value) &&
      value.addr != nullptr) {
    dpi = std::strtod(value.addr, nullptr);
  }
  if (resources != nullptr) XrmDestroyDatabase(resources);
  return dpi;
}

}  // namespace

double DesktopDpi() {
  const double xft = XftDpi();
  if (UsableDpi(xft) == xft) return xft;
  float dpiH = 0;
  float dpiV = 0;
  Fl::screen_dpi(dpiH, dpiV);
  return UsableDpi(dpiH);
}

}  // namespace kalmor
