#include <gtest/gtest.h>

#include "testbench/elapsed_time.h"

namespace kalmor {
namespace {

using namespace std::chrono;

TEST(FormatElapsed, WholeSecondsAndHoursModulo24) {
  EXPECT_EQ(FormatElapsed(milliseconds(0)), "00:00:00");
  EXPECT_EQ(FormatElapsed(milliseconds(999)), "00:00:00");
  EXPECT_EQ(FormatElapsed(seconds(1)), "00:00:01");
  EXPECT_EQ(FormatElapsed(seconds(59)), "00:00:59");
  EXPECT_EQ(FormatElapsed(seconds(60)), "00:01:00");
  EXPECT_EQ(FormatElapsed(hours(23) + minutes(59) + seconds(59)), "23:59:59");
  EXPECT_EQ(FormatElapsed(hours(24)), "00:00:00");
  EXPECT_EQ(FormatElapsed(hours(25) + seconds(7)), "01:00:07");
  EXPECT_EQ(FormatElapsed(hours(24 * 400) + minutes(3)), "00:03:00");
  EXPECT_EQ(FormatElapsed(-seconds(5)), "00:00:00");
}

}  // namespace
}  // namespace kalmor
