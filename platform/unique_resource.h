// Owns one system resource (a descriptor, a handle) and releases it once.
// Traits give the type, the value that owns nothing (none()), whether a value owns
// something, and how to release it (true when the system accepted that).
#pragma once

#include <utility>

namespace kalmor {

template <typename Traits>
class UniqueResource {
 public:
  using Value = typename Traits::Value;

  UniqueResource() = default;
  explicit UniqueResource(Value value) : value_(value) {}
  ~UniqueResource() { reset(); }
  UniqueResource(UniqueResource&& other) noexcept
      : value_(std::exchange(other.value_, Traits::none())) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      reset();
      value_ = std::exchange(other.value_, Traits::none());
    }
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  Value get() const { return value_; }
  explicit operator bool() const { return Traits::owns(value_); }
  // Releases now and reports whether the system accepted it.
  bool close() {
    if (!*this) return true;
    return Traits::release(std::exchange(value_, Traits::none()));
  }
  void reset() { close(); }
  // Hands the resource over to the caller, who releases it.
  Value release() { return std::exchange(value_, Traits::none()); }

 private:
  Value value_ = Traits::none();
};

}  // namespace kalmor
