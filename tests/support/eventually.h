// Waits for a condition that a separate process or the system brings about.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace kalmor::testing {

// Whether holds() comes true within bound, asked every few milliseconds.
inline bool Eventually(std::chrono::steady_clock::duration bound,
                       const std::function<bool()>& holds) {
  const auto until = std::chrono::steady_clock::now() + bound;
  while (!holds()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace kalmor::testing
