// A system function looked up in its library when it is first called, not
// when the program loads, so the checker still starts on systems that lack it.
#pragma once

#include "sysinfo/win_version_queries.h"

namespace kalmor {

using AnySystemFunction = void (*)();

// The exported function, or nullptr when the library or the name is missing.
AnySystemFunction LookUpSystemFunction(const wchar_t* library, const char* name);

template <typename Function>
class SystemFunction {
 public:
  SystemFunction(const wchar_t* library, const char* name) : library_(library), name_(name) {}

  // Throws MissingSystemFunction when the library does not export it.
  Function get() {
    if (!lookedUp_) {
      lookedUp_ = true;
      address_ = LookUpSystemFunction(library_, name_);
    }
    if (address_ == nullptr) throw MissingSystemFunction(name_);
    return reinterpret_cast<Function>(address_);
  }

 private:
  const wchar_t* library_;
  const char* name_;
  bool lookedUp_ = false;
  AnySystemFunction address_ = nullptr;
};

}  // namespace kalmor
