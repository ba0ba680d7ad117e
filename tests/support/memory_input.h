// A file held in memory that hands out its bytes a few at a time, as a slow
// file may, and can fail one of its reads as a broken disk does.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace kalmor::testing {

class MemoryInput : public InputFile {
 public:
  // failingRead: which read (1, 2, ...) fails with error 5; 0 for none.
  explicit MemoryInput(std::string bytes, std::size_t chunk = SIZE_MAX, int failingRead = 0)
      : bytes_(std::move(bytes)), chunk_(chunk), failingRead_(failingRead) {}

  std::size_t read(char* buffer, std::size_t size, std::int32_t& error) override {
    if (++reads_ == failingRead_) {
      error = 5;
      return 0;
    }
    const std::size_t count = std::min({size, chunk_, bytes_.size() - at_});
    std::memcpy(buffer, bytes_.data() + at_, count);
    at_ += count;
    return count;
  }

 private:
  std::string bytes_;
  std::size_t chunk_;
  int failingRead_;
  int reads_ = 0;
  std::size_t at_ = 0;
};

}  // namespace kalmor::testing
