#include "ui/fltk/plain_label.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

namespace kalmor {
namespace {

constexpr Fl_Labeltype kPlainLabel = FL_FREE_LABELTYPE;

void DrawPlain(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
  const char shortcuts = fl_draw_shortcut;
  fl_draw_shortcut = 0;
  fl_font(label->font, label->size);
  fl_color(static_cast<Fl_Color>(label->color));
  fl_draw(label->value, x, y, w, h, align, label->image, 0);
  fl_draw_shortcut = shortcuts;
}

void MeasurePlain(const Fl_Label* label, int& w, int& h) {
  const char shortcuts = fl_draw_shortcut;
  fl_draw_shortcut = 0;
  fl_font(label->font, label->size);
  fl_measure(label->value, w, h, 0);
  fl_draw_shortcut = shortcuts;
}

}  // namespace

Fl_Labeltype PlainLabel() {
  static const bool registered = [] {
    Fl::set_labeltype(kPlainLabel, DrawPlain, MeasurePlain);
    return true;
  }();
  (void)registered;
  return kPlainLabel;
}

}  // namespace kalmor
