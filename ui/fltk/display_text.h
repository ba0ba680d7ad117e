// Captions as FLTK draws them.
#pragma once

#include <string>

namespace kalmor {

// Captions break lines with CR (the result label's two lines); FLTK breaks at
// LF and would show a CR as a control character.
std::string WithLineFeeds(const std::string& caption);

}  // namespace kalmor
