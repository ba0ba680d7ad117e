#include "ui/pixel_layout.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/support/fake_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor {
namespace {

TEST(TwipsToPixels, FollowsTheResolution) {
  struct Case {
    int twips;
    double dpi;
    int pixels;
  };
  const Case cases[] = {
      {5160, 96, 344}, {3765, 96, 251}, {15, 96, 1},    {0, 96, 0},
      {7, 96, 0},      {8, 96, 1},      {-1200, 96, -80}, {1440, 120, 120},
      {5160, 144, 516}, {3765, 144, 377},  // 376.5 rounds up
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
  }
}

TEST(UsableDpi, ReplacesWhatNoScreenHasByTheStandardResolution) {
  EXPECT_EQ(UsableDpi(96), 96);
  EXPECT_EQ(UsableDpi(120), 120);
  EXPECT_EQ(UsableDpi(0), kDefaultDpi);
  EXPECT_EQ(UsableDpi(-1), kDefaultDpi);
  EXPECT_EQ(UsableDpi(5000), kDefaultDpi);
  EXPECT_EQ(UsableDpi(std::numeric_limits<double>::quiet_NaN()), kDefaultDpi);
}

class ClientPixelRectTest : public ::testing::Test {
 protected:
  testing::FakePlatform platform;
  HeadlessToolkit toolkit;
  frmKalmorChecker w{platform, toolkit};
};

TEST_F(ClientPixelRectTest, ContainersOffsetsAddUp) {
  EXPECT_EQ(ClientPixelRect(w.form, 96), (PixelRect{0, 0, 344, 251}));
  EXPECT_EQ(ClientPixelRect(w.rahmen11, 96), (PixelRect{8, 8, 329, 45}));
  EXPECT_EQ(ClientPixelRect(w.lblOSVersion, 96), (PixelRect{20, 28, 285, 13}));
  EXPECT_EQ(ClientPixelRect(w.lstLanguage, 96), (PixelRect{20, 92, 77, 21}));
  EXPECT_EQ(ClientPixelRect(w.bild0, 96), (PixelRect{20, 146, 16, 16}));
  // Two containers deep: frameTime inside rahmen(14).
  EXPECT_EQ(ClientPixelRect(w.lblTimer, 96), (PixelRect{285, 148, 42, 13}));
  EXPECT_EQ(ClientPixelRect(w.cmdOK, 96), (PixelRect{188, 216, 73, 25}));
}

TEST_F(ClientPixelRectTest, ScalesWithTheResolutionAndFollowsMoves) {
  EXPECT_EQ(ClientPixelRect(w.form, 144), (PixelRect{0, 0, 516, 377}));
  EXPECT_EQ(ClientPixelRect(w.lblTimer, 144), (PixelRect{428, 222, 63, 20}));
  w.cmdDummy.setLeft(-1200);
  EXPECT_EQ(ClientPixelRect(w.cmdDummy, 96), (PixelRect{-80, 160, 21, 21}));
}

}  // namespace
}  // namespace kalmor
