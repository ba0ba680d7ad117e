#pragma once

#include <cstddef>
#include <string>

#include "platform/platform.h"

namespace kalmor {

// Longest first line the result label shows; the rest of a huge line is not read.
inline constexpr std::size_t kFirstLineLimit = 4096;

// The first line of a text file (ending at CR LF or a lone CR, like the task
// file's lines), at most limit bytes of it; empty for an empty file.
Result<std::string> ReadFirstLine(InputFile& file, std::size_t limit = kFirstLineLimit);

}  // namespace kalmor
