// What a platform call that can fail returns: its value, or the system's
// error number (errno on POSIX, GetLastError on Windows) that says why not.
// Answers that are not failures (a folder busy, a name that is a link) are
// part of the value, not errors.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

namespace kalmor {

struct SystemError {
  std::int32_t code = 0;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}  // NOLINT: a value converts implicitly
  Result(SystemError error) : error_(error.code) {}  // NOLINT: so does an error

  explicit operator bool() const { return value_.has_value(); }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  // The system's error number; 0 when the call succeeded.
  std::int32_t error() const { return error_; }

 private:
  std::optional<T> value_;
  std::int32_t error_ = 0;
};

// For calls that have nothing to return but success.
struct Done {};
inline constexpr Done kDone{};

}  // namespace kalmor
