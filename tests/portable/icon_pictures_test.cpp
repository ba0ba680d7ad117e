#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "resources/pictures.h"

namespace kalmor {
namespace {

struct Census {
  int transparent = 0;
  int white = 0;
  int black = 0;
  int red = 0;
  int blue = 0;
  int yellow = 0;  // bright red and green, little blue: the yellow and the gold
};

Census Count(const PictureBits& bits) {
  Census c;
  for (const std::uint32_t argb : bits.pixels) {
    const int a = AlphaOf(argb), r = RedOf(argb), g = GreenOf(argb), b = BlueOf(argb);
    if (a == 0) {
      ++c.transparent;
    } else if (a == 255) {
      if (r > 240 && g > 240 && b > 240) ++c.white;
      if (r < 40 && g < 40 && b < 40) ++c.black;
      if (r > 180 && g < 80 && b < 80) ++c.red;
      if (b > 180 && r < 80) ++c.blue;
      if (r > 200 && g > 160 && b < 100) ++c.yellow;
    }
  }
  return c;
}

// The bottom corners may be drawn on: the triangle's base fills its row.
bool TopCornersTransparent(const PictureBits& bits) {
  return AlphaOf(bits.at(0, 0)) == 0 && AlphaOf(bits.at(PictureBits::kSize - 1, 0)) == 0;
}

TEST(IconPictures, NoneHasNoBits) {
  EXPECT_THROW(PictureBitmap(Picture::None), std::invalid_argument);
}

struct Expectation {
  Picture picture;
  std::vector<std::pair<int Census::*, int>> atLeast;  // colour and pixel count
  std::vector<int Census::*> absent;
};

// Catches pictures swapped between the roles or a drawing gone astray.
TEST(IconPictures, EachPictureHasItsColoursOnATransparentBackground) {
  const Expectation expectations[] = {
      {Picture::Information, {{&Census::white, 60}, {&Census::blue, 15}}, {&Census::red, &Census::yellow}},
      {Picture::Error, {{&Census::red, 80}, {&Census::white, 15}}, {&Census::blue, &Census::yellow}},
      {Picture::Warning, {{&Census::yellow, 60}, {&Census::black, 10}}, {&Census::blue, &Census::red}},
      {Picture::Key, {{&Census::yellow, 30}}, {&Census::blue, &Census::red, &Census::white}},
  };
  for (const Expectation& e : expectations) {
    SCOPED_TRACE(static_cast<int>(e.picture));
    const PictureBits& bits = PictureBitmap(e.picture);
    const Census census = Count(bits);
    for (const auto& [colour, count] : e.atLeast) EXPECT_GE(census.*colour, count);
    for (const auto colour : e.absent) EXPECT_EQ(census.*colour, 0);
    EXPECT_TRUE(TopCornersTransparent(bits));
    EXPECT_GT(census.transparent, 20);
  }
}

}  // namespace
}  // namespace kalmor
