// Filling "%1", "%2", ... in a text: the report's words and the system's error texts.
#pragma once

#include <string>
#include <vector>

namespace kalmor {

// text with every %1, %2, ... replaced by that argument, in one pass: an
// argument that holds "%1" itself is not filled again. A placeholder without
// an argument stays as it is.
std::string FillPlaceholders(const std::string& text, const std::vector<std::string>& arguments);

}  // namespace kalmor
