// A label that draws its text from its very left edge, as the layout expects.
// Fl_Box indents left-aligned text by 3 pixels, which pushes a label sized to
// its text past its own right edge.
#pragma once

#include <FL/Fl_Box.H>

namespace kalmor {

class TextLabel : public Fl_Box {
 public:
  TextLabel(int x, int y, int w, int h);

 protected:
  void draw() override;
};

}  // namespace kalmor
