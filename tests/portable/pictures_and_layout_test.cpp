// The four pictures, the icon file made from them, and the window's layout in pixels.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <limits>
#include <utility>

#include "resources/icon_file.h"
#include "resources/pictures.h"
#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"
#include "ui/pixel_layout.h"

namespace kalmor {
namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

constexpr std::size_t kColourAt = 22 + 16 + 40, kMaskAt = kColourAt + 16 * 16 * 4;

TEST(IconFile, A16By16ImageOf32BitsBottomRowFirstWithItsMaskAndA256ImageAfterIt) {
  PictureBits bits{16, std::vector<std::uint32_t>(16 * 16, 0xFF000000)};
  bits.pixels[0] = 0x00112233;   // top left, transparent
  bits.pixels[9] = 0x00000000;   // top row, x 9, transparent
  bits.pixels[15] = 0xFF445566;  // top right
  bits.pixels[16] = 0x01778899;  // barely visible still counts as drawn
  const std::vector<std::uint8_t> ico = IcoFileBytes({bits, PictureBitmap(Picture::Key, 256)});
  ASSERT_EQ(ico.size(), kMaskAt + 16 * 4 + 40 + 256 * 256 * 4 + 256 * 32);
  EXPECT_EQ(std::vector<std::uint8_t>(ico.begin(), ico.begin() + 8),
            (std::vector<std::uint8_t>{0, 0, 1, 0, 2, 0, 16, 16}));
  EXPECT_EQ(Read32(ico, 12) & 0xFFFF, 32u);                  // bits per pixel in the directory
  EXPECT_EQ(Read32(ico, 18), 38u);                           // image offset
  EXPECT_EQ(Read32(ico, 22) & 0xFFFF, 0u);                   // 256 wide and high is written 0
  EXPECT_EQ(Read32(ico, 34), kMaskAt + 16 * 4);              // the second image follows the first
  EXPECT_EQ(Read32(ico, 46), 32u);                           // colour rows and mask rows
  EXPECT_EQ(Read32(ico, 50), 1u | 32u << 16);                // planes, bits per pixel
  EXPECT_EQ(Read32(ico, kColourAt + (15 * 16 + 15) * 4), 0xFF445566u);  // BGRA little-endian is ARGB
  EXPECT_EQ(Read32(ico, kColourAt + (14 * 16) * 4), 0x01778899u);
  EXPECT_EQ(Read32(ico, kMaskAt + 15 * 4), 0x00004080u);  // top row: x 0 and x 9 transparent
  EXPECT_EQ(Read32(ico, kMaskAt + 14 * 4), 0u);
}

// Catches pictures swapped between the roles or a drawing gone astray, at any size.
TEST(Pictures, EachHasItsColoursOnATransparentBackground) {
  // At least this many white, red, blue and yellow pixels in 16 x 16; -1: none at all.
  const std::pair<Picture, std::array<int, 4>> expectations[] = {
      {Picture::Information, {60, -1, 15, -1}}, {Picture::Error, {15, 80, -1, -1}},
      {Picture::Warning, {0, -1, -1, 60}}, {Picture::Key, {-1, -1, -1, 20}}};
  for (const int size : kIconSizes) for (const auto& [picture, least16] : expectations) {
    std::array<int, 4> seen{}, least{};
    for (std::size_t i = 0; i < least.size(); ++i) least[i] = least16[i] * size * size / 256;
    int transparent = 0;
    for (const std::uint32_t argb : PictureBitmap(picture, size).pixels) {
      const int a = AlphaOf(argb), r = RedOf(argb), g = GreenOf(argb), b = BlueOf(argb);
      transparent += a == 0;
      const bool is[] = {r > 240 && g > 240 && b > 240, r > 180 && g < 80 && b < 80, b > 180 && r < 80,
                         r > 200 && g > 160 && b < 100};
      for (std::size_t i = 0; i < seen.size(); ++i) seen[i] += a == 255 && is[i];
    }
    for (std::size_t i = 0; i < seen.size(); ++i) {
      EXPECT_TRUE(least[i] < 0 ? seen[i] == 0 : seen[i] >= least[i])
          << "picture " << int(picture) << " at " << size << " px, colour " << i << ": " << seen[i];
    }
    EXPECT_GT(transparent, 20 * size * size / 256);
  }
}

TEST(Pictures, TheNearestDrawnSizeTheSmallerOfTwoEquallyNear) {
  const std::pair<int, int> wantedShown[] = {{0, 16}, {16, 16}, {18, 16}, {19, 20}, {22, 20}, {23, 24}, {27, 24},
                                             {28, 24}, {29, 32}, {40, 32}, {41, 48}, {300, 48}};
  for (const auto& [wanted, shown] : wantedShown) EXPECT_EQ(NearestDrawnSize(wanted), shown) << wanted;
}

// Enlarged pixels are what the larger sizes must not be: at least an eighth
// of the pixels differ clearly from the 16 x 16 picture enlarged.
TEST(Pictures, EachLargerSizeIsDrawnForItselfNotEnlarged) {
  for (const Picture picture : {Picture::Information, Picture::Error, Picture::Warning, Picture::Key}) {
    const PictureBits& small = PictureBitmap(picture);
    for (const int size : {20, 24, 32, 48}) {
      const PictureBits& drawn = PictureBitmap(picture, size);
      ASSERT_EQ(drawn.pixels.size(), static_cast<std::size_t>(size * size));
      int differ = 0;
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
          const std::uint32_t a = drawn.at(x, y), b = small.at(x * 16 / size, y * 16 / size);
          differ += std::abs(AlphaOf(a) - AlphaOf(b)) + std::abs(RedOf(a) - RedOf(b)) +
                        std::abs(GreenOf(a) - GreenOf(b)) + std::abs(BlueOf(a) - BlueOf(b)) > 96;
        }
      }
      EXPECT_GT(differ, size * size / 8) << "picture " << int(picture) << " at " << size << " px";
    }
  }
}

TEST(PixelLayout, TwipsScaleWithTheResolutionAndContainersAddUp) {
  EXPECT_EQ(TwipsToPixels(5160, 96), 344);
  EXPECT_EQ(TwipsToPixels(3765, 144), 377);  // 376.5 rounds up
  EXPECT_EQ(TwipsToPixels(-1200, 96), -80);
  EXPECT_EQ(UsableDpi(120), 120);
  for (const double nonsense : {0.0, 5000.0, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(UsableDpi(nonsense), kDefaultDpi);
  }
  testing::FakePlatform platform;
  HeadlessToolkit toolkit;
  frmKalmorChecker w{platform, toolkit};
  EXPECT_EQ(ClientPixelRect(w.form, 96), (PixelRect{0, 0, 344, 251}));
  EXPECT_EQ(ClientPixelRect(w.lblTimer, 96), (PixelRect{285, 148, 42, 13}));  // two containers deep
  EXPECT_EQ(ClientPixelRect(w.lblTimer, 144), (PixelRect{428, 222, 63, 20}));
  EXPECT_EQ(CentredIn(PixelRect{0, 0, 1024, 768}, 344, 251), (PixelRect{340, 258, 344, 251}));
}

// What a screen reader hears for the status picture, for Stop's access key
// ("&&" is a plain "&", not a marker), in each language, and why a run failed.
TEST(SpokenNames, EachStatusPictureAndTheStopKeyInEachLanguage) {
  testing::FakePlatform platform;
  HeadlessToolkit toolkit;
  frmKalmorChecker w{platform, toolkit};
  w.Form_Load();
  const std::pair<Picture, std::array<const char*, 2>> pictures[] = {
      {Picture::Information, {"Hinweis", "Information"}}, {Picture::Warning, {"Warnung", "Warning"}},
      {Picture::Error, {"Fehler", "Error"}}, {Picture::Key, {"Erfolg", "Success"}},
      {Picture::None, {"", ""}}};
  for (const int language : {0, 1}) {
    w.lstLanguage.setListIndex(language);
    for (const auto& [picture, names] : pictures) {
      w.bild0.setPicture(picture);
      EXPECT_EQ(w.SpokenName(w.bild0), names[language]) << language;
    }
  }
  w.lblStatus.setCaption("running");
  w.RunInProgress = true;
  const std::pair<const char*, const char*> stops[] = {
      {"&Stop", "running Stop: Alt+S"}, {"Sto&p", "running Stop: Alt+P"},
      {"A&&B&c", "running Stop: Alt+C"}, {"&&Stop", "running"}, {"Stop&", "running"}};
  for (const auto& [caption, heard] : stops) {
    w.cmdOK.setCaption(caption);
    EXPECT_EQ(w.SpokenName(w.cmdDummy), heard) << caption;
  }
  w.lstLanguage.setListIndex(0);
  w.cmdOK.setCaption("&Stop");
  w.lblStatus.setCaption("running");
  EXPECT_EQ(w.SpokenName(w.cmdDummy), "running Abbrechen: Alt+S");
  w.RunInProgress = false;
  EXPECT_EQ(w.SpokenName(w.cmdDummy), "running");
  w.lblResult.setToolTip("why");  // a failed run's reason, otherwise only for the mouse
  EXPECT_EQ(w.SpokenName(w.cmdDummy), "running why");
}

}  // namespace
}  // namespace kalmor
