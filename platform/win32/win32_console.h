// The console's last word, for the interrupt handler's thread.
#pragma once

#include <string>

namespace kalmor {

// Writes text (when not empty) as WriteToConsole does, after any write under
// way; every later write waits until the program has ended.
void WriteLastToConsole(const std::string& utf8, bool toError);

}  // namespace kalmor
