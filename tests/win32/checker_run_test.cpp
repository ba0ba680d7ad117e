// Whole test runs of the checker window on the Windows platform, with the
// stand-in solver as both solver builds in a folder with blanks.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/win32/checker_window.h"

namespace kalmor {
namespace {

using CheckerRun = testing::CheckerWindow;

TEST_F(CheckerRun, ASolverThatWritesItsProtocolPasses) {
  auto& f = load("%standin sleep 200\r\n");
  press();

  EXPECT_EQ(f.lblStatus.caption(), "Test finished successfully!");
  ASSERT_TRUE(platform->plainFileExists(file("KM.OUT")));
  const std::string firstLine = firstLineOf("KM.OUT");
  EXPECT_FALSE(firstLine.empty());
  EXPECT_NE(f.lblResult.caption().find(firstLine), std::string::npos) << f.lblResult.caption();
  EXPECT_FALSE(f.StartFailed);
  EXPECT_FALSE(f.SolverRunning);
  EXPECT_GT(toolkit.pumps(), 5) << "the window stayed live while the solver ran";
}

TEST_F(CheckerRun, StopEndsALongSolverAtOnce) {
  auto& f = load("%standin sleep 60000\r\n");
  const auto took = press([](int pump) { return pump >= 20; });

  EXPECT_LT(took, std::chrono::seconds(20));
  EXPECT_EQ(f.lblStatus.caption(), "Test has been aborted");
  EXPECT_FALSE(platform->plainFileExists(file("KM.OUT")));
  EXPECT_EQ(f.cmdOK.caption(), "&Start");
  expectNoSolverLeft();
}

}  // namespace
}  // namespace kalmor
