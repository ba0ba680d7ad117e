#include "testbench/elapsed_time.h"

#include <cstdio>

namespace kalmor {

std::string FormatElapsed(std::chrono::system_clock::duration elapsed) {
  long long seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
  if (seconds < 0) seconds = 0;
  char text[16];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", (seconds / 3600) % 24,
                (seconds / 60) % 60, seconds % 60);
  return text;
}

}  // namespace kalmor
