// Owns a kernel handle, or a file search, and closes it once.
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

struct FindTraits {
  using Value = HANDLE;
  static HANDLE none() { return INVALID_HANDLE_VALUE; }
  static bool owns(HANDLE search) { return search != INVALID_HANDLE_VALUE; }
  static bool release(HANDLE search) { return ::FindClose(search) != 0; }
};
using UniqueFind = UniqueResource<FindTraits>;

}  // namespace kalmor
