// The FLTK front-end's own rules, without a display: line breaks in labels,
// picture bytes, and the order Tab walks nested widgets in.
#include <gtest/gtest.h>

#include "ui/fltk/display_text.h"
#include "ui/fltk/picture_images.h"
#include "ui/fltk/tab_order.h"

namespace kalmor {
namespace {

TEST(WithLineFeeds, EveryCarriageReturnBreaksTheLineOnce) {
  for (const auto& [caption, shown] : {std::pair{"Testvariante:\rKalmor 64-Bit", "Testvariante:\nKalmor 64-Bit"},
                                       {"a\r\nb", "a\nb"}, {"a\r\rb", "a\n\nb"}, {"a\nb\r", "a\nb\n"}}) {
    EXPECT_EQ(WithLineFeeds(caption), shown);
  }
}

TEST(RgbaBytes, ChannelsReorderedAndRowsPadded) {
  PictureBits bits{16, std::vector<std::uint32_t>(16 * 16)};
  bits.pixels[15] = 0x01020304;  // top right, ARGB
  bits.pixels[16] = 0xFF445566;  // first of the second row
  const auto padded = RgbaBytes(bits, 2);
  ASSERT_EQ(padded.size(), 18u * 16u * 4u);
  EXPECT_EQ(std::vector<unsigned char>(padded.begin() + 60, padded.begin() + 76),
            (std::vector<unsigned char>{2, 3, 4, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0x44, 0x55, 0x66, 0xFF}));
}

// The real window's Tab walk is checked on screen; here a frame two levels deep.
TEST(ChildrenInTabOrder, FocusStopsFirstAndAFrameAtItsEarliestStopAtAnyDepth) {
  Form form("form", Rect{}, "", Picture::None);
  Frame outer("outer", &form, Rect{}, "", true);
  Frame inner("inner", &outer, Rect{}, "", true);
  Button deep("deep", &inner, Rect{}, "", Picture::None);
  Button late("late", &form, Rect{}, "", Picture::None);
  Button early("early", &form, Rect{}, "", Picture::None);
  Label plain("plain", &form, Rect{}, "", false);
  std::vector<std::string> names;
  for (const Control* c : ChildrenInTabOrder({&form, &plain, &outer, &inner, &deep, &late, &early},
                                             {&early, &deep, &late}, form)) {
    names.push_back(c->name());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"early", "outer", "late", "plain"}));
}

}  // namespace
}  // namespace kalmor
