// The FLTK front-end's own rules, without a display: line breaks in labels,
// picture bytes, and the order Tab walks the widgets in.
#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/fltk/display_text.h"
#include "ui/fltk/picture_images.h"
#include "ui/fltk/tab_order.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor {
namespace {

TEST(WithLineFeeds, EveryCarriageReturnBreaksTheLineOnce) {
  for (const auto& [caption, shown] : {std::pair{"Testvariante:\rKalmor 64-Bit", "Testvariante:\nKalmor 64-Bit"},
                                       {"a\r\nb", "a\nb"}, {"a\r\rb", "a\n\nb"}, {"a\nb\r", "a\nb\n"}}) {
    EXPECT_EQ(WithLineFeeds(caption), shown);
  }
}

TEST(RgbaBytes, ChannelsReorderedAndRowsPadded) {
  PictureBits bits;
  bits.pixels[PictureBits::kSize - 1] = 0x01020304;  // top right, ARGB
  bits.pixels[PictureBits::kSize] = 0xFF445566;      // first of the second row
  const auto padded = RgbaBytes(bits, 2);
  ASSERT_EQ(padded.size(), 18u * 16u * 4u);
  EXPECT_EQ(std::vector<unsigned char>(padded.begin() + 60, padded.begin() + 72),
            (std::vector<unsigned char>{0x02, 0x03, 0x04, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::vector<unsigned char>(padded.begin() + 72, padded.begin() + 76),
            (std::vector<unsigned char>{0x44, 0x55, 0x66, 0xFF}));
}

std::vector<std::string> Names(const std::vector<Control*>& controls) {
  std::vector<std::string> names;
  for (const Control* c : controls) names.push_back(c->name());
  return names;
}

TEST(ChildrenInTabOrder, FocusStopsFirstAndAFrameAtItsEarliestStopAtAnyDepth) {
  testing::FakePlatform platform;
  HeadlessToolkit toolkit;
  frmKalmorChecker w(platform, toolkit);
  EXPECT_EQ(Names(ChildrenInTabOrder(w.controls(), w.focusOrder(), w.form)),
            (std::vector<std::string>{"cmdOK", "cmdClose", "cmdDummy", "Frame3", "rahmen(11)", "rahmen(14)",
                                      "lblTestvariante", "lbl(28)", "tbLanguage"}));
  Form form("form", Rect{}, "", Picture::None);
  Frame outer("outer", &form, Rect{}, "", true);
  Frame inner("inner", &outer, Rect{}, "", true);
  Button deep("deep", &inner, Rect{}, "", Picture::None);
  Button late("late", &form, Rect{}, "", Picture::None);
  Button early("early", &form, Rect{}, "", Picture::None);
  const std::vector<Control*> controls{&form, &outer, &inner, &deep, &late, &early};
  EXPECT_EQ(Names(ChildrenInTabOrder(controls, {&early, &deep, &late}, form)),
            (std::vector<std::string>{"early", "outer", "late"}));
}

}  // namespace
}  // namespace kalmor
