// Whether a system's own text holds a word, as "64-bit" in "64-Bit Windows".
#pragma once

#include <string_view>

namespace kalmor {

// ASCII letters only, whatever the process's locale: the words looked for
// are ASCII, and a locale's case rules must not change a system's answer.
bool ContainsIgnoringCase(std::string_view text, std::string_view part);

}  // namespace kalmor
