#include <gtest/gtest.h>

#include <stdexcept>

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

// Catches pictures swapped between the roles or a drawing gone astray.
TEST(IconPictures, EachPictureHasItsColoursOnATransparentBackground) {
  const Census info = Count(PictureBitmap(Picture::Information));
  EXPECT_GT(info.white, 60);
  EXPECT_GT(info.blue, 15);
  EXPECT_EQ(info.red + info.yellow, 0);

  const Census error = Count(PictureBitmap(Picture::Error));
  EXPECT_GT(error.red, 80);
  EXPECT_GT(error.white, 15);
  EXPECT_EQ(error.blue + error.yellow, 0);

  const Census warning = Count(PictureBitmap(Picture::Warning));
  EXPECT_GT(warning.yellow, 60);
  EXPECT_GT(warning.black, 10);
  EXPECT_EQ(warning.blue + warning.red, 0);

  const Census key = Count(PictureBitmap(Picture::Key));
  EXPECT_GT(key.yellow, 30);
  EXPECT_EQ(key.blue + key.red + key.white, 0);

  for (const Picture picture : {Picture::Information, Picture::Error, Picture::Warning, Picture::Key}) {
    const PictureBits& bits = PictureBitmap(picture);
    EXPECT_TRUE(TopCornersTransparent(bits)) << static_cast<int>(picture);
    EXPECT_GT(Count(bits).transparent, 20) << static_cast<int>(picture);
  }
}

}  // namespace
}  // namespace kalmor
