#include "ui/fltk/dialog_font.h"

#include <FL/Fl.H>

namespace kalmor {
namespace {
constexpr Fl_Font kRegular = FL_FREE_FONT;
constexpr Fl_Font kBold = FL_FREE_FONT + 1;
}  // namespace

Fl_Font DialogFont(bool bold) {
  static const bool registered = [] {
    // FLTK's Xft names: a leading blank is the regular face, "B" the bold one.
    Fl::set_font(kRegular, " DejaVu Sans Condensed");
    Fl::set_font(kBold, "BDejaVu Sans Condensed");
    return true;
  }();
  (void)registered;
  return bold ? kBold : kRegular;
}

}  // namespace kalmor
