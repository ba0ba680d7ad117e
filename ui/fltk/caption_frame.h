// A group box: an engraved frame whose caption interrupts its top edge at the
// left, or, unbordered, an invisible container.
#pragma once

#include <FL/Fl_Group.H>

namespace kalmor {

class CaptionFrame : public Fl_Group {
 public:
  CaptionFrame(int x, int y, int w, int h, bool bordered);

 protected:
  void draw() override;

 private:
  void drawFrameAndCaption();

  bool bordered_;
};

}  // namespace kalmor
