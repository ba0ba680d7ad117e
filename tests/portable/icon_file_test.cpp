#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "resources/icon_file.h"

namespace kalmor {
namespace {

std::uint32_t Read16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return Read16(b, at) | (Read16(b, at + 2) << 16);
}

constexpr std::size_t kImageOffset = 22;
constexpr std::size_t kColourOffset = kImageOffset + 40;
constexpr std::size_t kMaskOffset = kColourOffset + 16 * 16 * 4;

TEST(IconFile, HeadersDescribeOne16By16ImageWith32BitsAndAMask) {
  const std::vector<std::uint8_t> ico = IcoFileBytes(PictureBits{});
  ASSERT_EQ(ico.size(), kMaskOffset + 16 * 4);
  // ICONDIR
  EXPECT_EQ(Read16(ico, 0), 0u);
  EXPECT_EQ(Read16(ico, 2), 1u);  // icon, not cursor
  EXPECT_EQ(Read16(ico, 4), 1u);
  // ICONDIRENTRY
  EXPECT_EQ(ico[6], 16);
  EXPECT_EQ(ico[7], 16);
  EXPECT_EQ(ico[8], 0);
  EXPECT_EQ(Read16(ico, 10), 1u);
  EXPECT_EQ(Read16(ico, 12), 32u);
  EXPECT_EQ(Read32(ico, 14), ico.size() - kImageOffset);
  EXPECT_EQ(Read32(ico, 18), kImageOffset);
  // BITMAPINFOHEADER
  EXPECT_EQ(Read32(ico, 22), 40u);
  EXPECT_EQ(Read32(ico, 26), 16u);
  EXPECT_EQ(Read32(ico, 30), 32u);  // colour rows and mask rows
  EXPECT_EQ(Read16(ico, 34), 1u);
  EXPECT_EQ(Read16(ico, 36), 32u);
  EXPECT_EQ(Read32(ico, 38), 0u);
  EXPECT_EQ(Read32(ico, 42), ico.size() - kColourOffset);

  const std::vector<std::uint8_t> image = IconImageBytes(PictureBits{});
  EXPECT_TRUE(std::equal(image.begin(), image.end(), ico.begin() + kImageOffset));
}

TEST(IconFile, PixelsAreBgraBottomRowFirst) {
  PictureBits bits;
  bits.pixels[0] = 0x80112233;        // top left
  bits.pixels[15] = 0xFF445566;       // top right
  bits.pixels[15 * 16] = 0x01778899;  // bottom left
  const std::vector<std::uint8_t> ico = IcoFileBytes(bits);
  const auto pixel = [&ico](int fileRow, int x) {
    const std::size_t at = kColourOffset + static_cast<std::size_t>(fileRow * 16 + x) * 4;
    return std::vector<std::uint8_t>(ico.begin() + static_cast<long>(at), ico.begin() + static_cast<long>(at) + 4);
  };
  EXPECT_EQ(pixel(15, 0), (std::vector<std::uint8_t>{0x33, 0x22, 0x11, 0x80}));
  EXPECT_EQ(pixel(15, 15), (std::vector<std::uint8_t>{0x66, 0x55, 0x44, 0xFF}));
  EXPECT_EQ(pixel(0, 0), (std::vector<std::uint8_t>{0x99, 0x88, 0x77, 0x01}));
  EXPECT_EQ(pixel(0, 1), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(IconFile, MaskMarksOnlyFullyTransparentPixelsInPaddedRows) {
  PictureBits bits;
  bits.pixels.fill(0xFF000000);
  bits.pixels[0] = 0x00FFFFFF;   // top left: transparent, whatever its colour
  bits.pixels[9] = 0x00000000;   // top row, x 9
  bits.pixels[16] = 0x01000000;  // barely visible still counts as drawn
  const std::vector<std::uint8_t> ico = IcoFileBytes(bits);
  const auto maskRow = [&ico](int fileRow) {
    const std::size_t at = kMaskOffset + static_cast<std::size_t>(fileRow) * 4;
    return std::vector<std::uint8_t>(ico.begin() + static_cast<long>(at), ico.begin() + static_cast<long>(at) + 4);
  };
  EXPECT_EQ(maskRow(15), (std::vector<std::uint8_t>{0x80, 0x40, 0, 0}));
  EXPECT_EQ(maskRow(14), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(maskRow(0), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace kalmor
