// Captions and pictures turned into what FLTK draws.
#include <gtest/gtest.h>

#include "ui/fltk/display_text.h"
#include "ui/fltk/picture_images.h"

namespace kalmor {
namespace {

TEST(WithLineFeeds, EveryCarriageReturnBreaksTheLineOnce) {
  EXPECT_EQ(WithLineFeeds("Testvariante:\rKalmor 64-Bit"), "Testvariante:\nKalmor 64-Bit");
  EXPECT_EQ(WithLineFeeds("a\r\nb"), "a\nb");
  EXPECT_EQ(WithLineFeeds("a\r\rb"), "a\n\nb");
  EXPECT_EQ(WithLineFeeds("a\nb\r"), "a\nb\n");
  EXPECT_EQ(WithLineFeeds("Prüfung läuft..."), "Prüfung läuft...");
  EXPECT_EQ(WithLineFeeds(""), "");
}

TEST(RgbaBytes, ChannelsReorderedAndRowsPadded) {
  PictureBits bits;
  bits.pixels[0] = 0x80112233;                       // top left, half transparent
  bits.pixels[PictureBits::kSize] = 0xFF445566;      // first of the second row
  bits.pixels[PictureBits::kSize - 1] = 0x01020304;  // top right
  const auto plain = RgbaBytes(bits);
  ASSERT_EQ(plain.size(), 16u * 16u * 4u);
  EXPECT_EQ(std::vector<unsigned char>(plain.begin(), plain.begin() + 4),
            (std::vector<unsigned char>{0x11, 0x22, 0x33, 0x80}));
  EXPECT_EQ(std::vector<unsigned char>(plain.begin() + 60, plain.begin() + 64),
            (std::vector<unsigned char>{0x02, 0x03, 0x04, 0x01}));

  const auto padded = RgbaBytes(bits, 2);
  ASSERT_EQ(padded.size(), 18u * 16u * 4u);
  const std::size_t rowBytes = 18 * 4;
  // Right of the top-right pixel: two transparent pixels, then the second row.
  EXPECT_EQ(std::vector<unsigned char>(padded.begin() + 60, padded.begin() + 64),
            (std::vector<unsigned char>{0x02, 0x03, 0x04, 0x01}));
  EXPECT_EQ(std::vector<unsigned char>(padded.begin() + 64, padded.begin() + rowBytes),
            std::vector<unsigned char>(8, 0));
  EXPECT_EQ(std::vector<unsigned char>(padded.begin() + rowBytes, padded.begin() + rowBytes + 4),
            (std::vector<unsigned char>{0x44, 0x55, 0x66, 0xFF}));
}

}  // namespace
}  // namespace kalmor
