#pragma once

#include <cstdint>
#include <string>

namespace kalmor {

// The index-th field (from 1) of source, fields separated by delimiter; the
// empty string past the last field. Indexes below 1 also give the empty string.
std::string GetField(const std::string& source, std::int16_t index, const std::string& delimiter);

}  // namespace kalmor
