#include "testbench/first_line.h"

#include <array>

namespace kalmor {

Result<std::string> ReadFirstLine(InputFile& file, std::size_t limit) {
  std::string line;
  std::array<char, 512> buffer{};
  while (line.size() < limit) {
    const Result<std::size_t> count = file.read(buffer.data(), buffer.size());
    if (!count) return SystemError{count.error()};
    if (*count == 0) break;
    for (std::size_t i = 0; i < *count; ++i) {
      if (buffer[i] == '\r') return line;
      if (line.size() == limit) return line;
      line += buffer[i];
    }
  }
  return line;
}

}  // namespace kalmor
