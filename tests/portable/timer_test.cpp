#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"

namespace kalmor::testing {
namespace {

using namespace std::chrono;
using Timer = WindowTest;

TEST_F(Timer, IdleBeforeTheFirstRun) {
  putEverything();
  auto& f = load();
  EXPECT_FALSE(toolkit.tick());
  EXPECT_EQ(f.lblTimer.caption(), "00:00:00");
}

TEST_F(Timer, BlinksAndCountsFromTheSolverStart) {
  putEverything();
  platform.solver.slices = 1000;
  auto& f = load();
  std::vector<std::pair<bool, std::string>> seen;  // status visible?, time shown
  toolkit.onEveryPump([&](int pump) {
    if (pump > 6) {
      toolkit.click(f.cmdOK);
      return;
    }
    toolkit.advance(milliseconds(500));
    toolkit.tick();
    seen.emplace_back(f.lblStatus.foreColour() != f.lblStatus.backColour(),
                      f.lblTimer.caption());
  });
  toolkit.click(f.cmdOK);
  const std::vector<std::pair<bool, std::string>> expected = {
      {false, "00:00:00"}, {true, "00:00:01"}, {false, "00:00:01"},
      {true, "00:00:02"},  {false, "00:00:02"}, {true, "00:00:03"}};
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(f.Timer1.enabled());
  EXPECT_EQ(f.lblTimer.caption(), "00:00:03");  // the last time stays
  EXPECT_NE(f.lblStatus.foreColour(), f.lblStatus.backColour());
}

TEST_F(Timer, LongRunsWrapTheHoursAndSurviveMidnight) {
  putEverything();
  platform.solver.slices = 1000;
  auto& f = load();
  toolkit.setNow(sys_days{2026y / 12 / 31} + hours(23) + minutes(59));
  toolkit.atPump(1, [&] {
    toolkit.advance(hours(25) + minutes(2) + seconds(3));
    toolkit.tick();
    toolkit.tick();
    toolkit.click(f.cmdOK);
  });
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblTimer.caption(), "01:02:03");
}

}  // namespace
}  // namespace kalmor::testing
