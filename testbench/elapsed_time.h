#pragma once

#include <chrono>
#include <string>

namespace kalmor {

// "hh:mm:ss" of whole seconds elapsed; hours wrap at 24. A clock that went
// back shows 00:00:00 rather than a negative time.
std::string FormatElapsed(std::chrono::system_clock::duration elapsed);

}  // namespace kalmor
