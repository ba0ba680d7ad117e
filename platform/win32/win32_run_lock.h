// The run lock on Windows: an exclusive byte-range lock far beyond the end of
// TMP_INPUT.INP, on a handle that shares everything and asks for no access that
// a sharing check counts but reading, so that the solver still reads and
// writes its input and the checker still rewrites it.
// The system releases it when the handle closes, also when its holder dies.
#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_handle.h"

namespace kalmor {

class Win32RunLock : public RunLock {
 public:
  Win32RunLock(UniqueHandle file, std::wstring folder);
  Win32RunLock(const Win32RunLock&) = delete;
  Win32RunLock& operator=(const Win32RunLock&) = delete;

  // Whether name is in the folder this lock holds.
  bool covers(const std::wstring& name) const;

 private:
  UniqueHandle file_;
  std::wstring folder_;
};

}  // namespace kalmor
