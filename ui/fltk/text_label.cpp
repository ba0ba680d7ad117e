#include "ui/fltk/text_label.h"

#include "ui/fltk/plain_label.h"

namespace kalmor {

TextLabel::TextLabel(int x, int y, int w, int h) : Fl_Box(x, y, w, h) {
  box(FL_FLAT_BOX);  // opaque, so a changed caption repaints cleanly
  labeltype(PlainLabel());
}

void TextLabel::draw() {
  draw_box();
  draw_label(x(), y(), w(), h(), align());
}

}  // namespace kalmor
