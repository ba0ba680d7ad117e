// The POSIX process layer against a real child: the window's wait must sleep
// its slices, not spin.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/posix/posix_platform.h"

namespace kalmor {
namespace {

using namespace std::chrono;

TEST(PosixProcesses, AWaitSleepsItsTenMillisecondSliceWhileTheChildRuns) {
  PosixPlatform platform(std::string("/tmp"));
  ProcessRecord process;
  std::int32_t error = 0;
  ASSERT_TRUE(platform.createProcess("/bin/sleep", "/bin/sleep 0.5", true, kNormalPriorityClass, StartupRecord{},
                                     process, error)) << "error " << error;
  const auto started = steady_clock::now();
  int slices = 0;
  while (platform.waitForProcess(process, 10) == WaitOutcome::Timeout && ++slices < 200) {
  }
  const auto took = steady_clock::now() - started;
  if (slices >= 200) platform.terminateProcess(process.processId, 1);
  platform.closeProcessHandles(process);
  EXPECT_LE(slices, 60) << "half a second is about 50 slices of 10 ms, not a busy loop";
  EXPECT_GE(slices, 25);
  EXPECT_GE(took, milliseconds(400));
}

}  // namespace
}  // namespace kalmor
