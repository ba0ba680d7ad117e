// The first line of any file read in any chunking, with a read error at any
// point: the text up to the first CR, cut at the limit, or a reported error.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "testbench/first_line.h"
#include "tests/support/memory_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::size_t limit = data[0] * 3u;  // around the reader's 512-byte buffer
  const std::size_t chunk = 1 + data[1];
  const int failingRead = data[2] % 8;  // 0: no error
  const std::string content(reinterpret_cast<const char*>(data) + 3, size - 3);

  kalmor::testing::MemoryInput file(content, chunk, failingRead);
  const auto line = kalmor::ReadFirstLine(file, limit);
  if (!line) {
    if (line.error() == 0 || failingRead == 0) std::abort();
    return 0;
  }
  if (*line != content.substr(0, std::min(content.find('\r'), limit))) std::abort();
  return 0;
}
