#include "ui/fltk/caption_frame.h"

#include <FL/fl_draw.H>

#include "ui/fltk/plain_label.h"

namespace kalmor {
namespace {
constexpr int kCaptionIndent = 8;
constexpr int kCaptionGap = 2;
}  // namespace

CaptionFrame::CaptionFrame(int x, int y, int w, int h, bool bordered)
    : Fl_Group(x, y, w, h), bordered_(bordered) {
  end();
  resizable(nullptr);  // contents are placed from their own layout, never stretched
  labeltype(PlainLabel());
  // Inside, or the enclosing group would draw the caption a second time above us.
  align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT);
}

void CaptionFrame::draw() {
  if (damage() & ~FL_DAMAGE_CHILD) drawFrameAndCaption();
  draw_children();
}

void CaptionFrame::drawFrameAndCaption() {
  fl_rectf(x(), y(), w(), h(), color());
  if (!bordered_) return;
  fl_font(labelfont(), labelsize());
  const int lineHeight = fl_height();
  const int frameTop = y() + lineHeight / 2;
  fl_draw_box(FL_ENGRAVED_FRAME, x(), frameTop, w(), y() + h() - frameTop, color());
  if (label() == nullptr || *label() == '\0') return;
  int textWidth = 0;
  int textHeight = 0;
  measure_label(textWidth, textHeight);
  const int textLeft = x() + kCaptionIndent;
  fl_rectf(textLeft - kCaptionGap, y(), textWidth + 2 * kCaptionGap, lineHeight, color());
  draw_label(textLeft, y(), textWidth, lineHeight, FL_ALIGN_INSIDE | FL_ALIGN_LEFT);
}

}  // namespace kalmor
