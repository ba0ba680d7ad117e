// Owns a kernel handle and closes it once.
#pragma once

#include <windows.h>

#include "platform/unique_resource.h"

namespace kalmor {

struct HandleTraits {
  using Value = HANDLE;
  static HANDLE none() { return INVALID_HANDLE_VALUE; }
  // Calls that fail give either value, so neither owns anything.
  static bool owns(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
  static bool release(HANDLE handle) { return ::CloseHandle(handle) != 0; }
};
using UniqueHandle = UniqueResource<HandleTraits>;

}  // namespace kalmor
