#include "testbench/first_line.h"

#include <array>

namespace kalmor {

std::optional<std::string> ReadFirstLine(InputFile& file, std::int32_t& error, std::size_t limit) {
  std::string line;
  std::array<char, 512> buffer{};
  while (line.size() < limit) {
    error = 0;
    const std::size_t count = file.read(buffer.data(), buffer.size(), error);
    if (error != 0) return std::nullopt;
    if (count == 0) break;
    for (std::size_t i = 0; i < count; ++i) {
      if (buffer[i] == '\r') return line;
      if (line.size() == limit) return line;
      line += buffer[i];
    }
  }
  return line;
}

}  // namespace kalmor
