// The run lock on Windows: an exclusive byte-range lock far beyond the end of
// TMP_INPUT.INP, on a handle that shares everything and asks for no access that
// a sharing check counts but reading, so that the solver still reads and
// writes its input and the checker still rewrites it.
// The system releases it when the handle closes, also when its holder dies.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_handle.h"

namespace kalmor {

// The folders whose run lock this checker holds.
class HeldRunLocks {
 public:
  // Whether the folder of name is one of them.
  bool holds(const std::wstring& name) const;
  void add(const std::wstring& folder) { folders_.push_back(folder); }
  void remove(const std::wstring& folder);

 private:
  std::vector<std::wstring> folders_;
};

class Win32RunLock : public RunLock {
 public:
  Win32RunLock(UniqueHandle file, std::shared_ptr<HeldRunLocks> held, std::wstring folder);
  ~Win32RunLock() override { held_->remove(folder_); }
  Win32RunLock(const Win32RunLock&) = delete;
  Win32RunLock& operator=(const Win32RunLock&) = delete;

 private:
  UniqueHandle file_;
  std::shared_ptr<HeldRunLocks> held_;
  std::wstring folder_;
};

}  // namespace kalmor
