// A file held in memory that hands out its bytes a few at a time, as a slow
// file may, and can fail one of its reads as a broken disk does.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace kalmor::testing {

struct MemoryInput : InputFile {
  explicit MemoryInput(std::string text, std::size_t chunkSize = SIZE_MAX, int failing = 0)
      : bytes(std::move(text)), chunk(chunkSize), failingRead(failing) {}

  Result<std::size_t> read(char* buffer, std::size_t size) override {
    if (++reads == failingRead) return SystemError{5};
    const std::size_t count = std::min({size, chunk, bytes.size() - at});
    std::memcpy(buffer, bytes.data() + at, count);
    at += count;
    return count;
  }

  std::string bytes;
  std::size_t chunk;
  int failingRead;  // which read (1, 2, ...) fails with error 5; 0 for none
  int reads = 0;
  std::size_t at = 0;
};

}  // namespace kalmor::testing
