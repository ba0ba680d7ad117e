#include "platform/win32/win32_run_lock.h"

#include "platform/win32/own_name.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"

namespace kalmor {
namespace {

// 2^62: no task comes near, so the solver's reads never meet the lock. The
// Linux build locks the same byte, so one run per folder holds across both.
constexpr DWORD kLockOffsetHigh = 0x40000000;
// Reading data lets LockFileEx lock. Writing attributes makes Wine open the
// Unix file for writing, so that its lock is a POSIX write lock, which other
// prefixes and the Linux build see (on a read-only handle it is a shared one);
// yet no sharing check counts attribute access, so the solver still opens its
// input as it likes.
constexpr DWORD kLockAccess = FILE_READ_DATA | FILE_WRITE_ATTRIBUTES;

std::wstring FolderOf(const std::wstring& name) {
  const std::size_t separator = name.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : name.substr(0, separator);
}

bool SameText(const std::wstring& one, const std::wstring& two) {
  return ::CompareStringOrdinal(one.c_str(), static_cast<int>(one.size()), two.c_str(),
                                static_cast<int>(two.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

Win32RunLock::Win32RunLock(UniqueHandle file, std::wstring folder)
    : file_(std::move(file)), folder_(std::move(folder)) {}

bool Win32RunLock::covers(const std::wstring& name) const {
  return SameText(FolderOf(name), folder_);
}

Result<LockAnswer> Win32Platform::lockRun(const std::string& inputPath) {
  const std::wstring name = Utf8ToWide(inputPath);
  std::int32_t error = 0;
  UniqueHandle file = OpenOwnFile(name, kLockAccess, error);
  if (!file) return SystemError{error};
  OVERLAPPED beyondTheEnd{};
  beyondTheEnd.OffsetHigh = kLockOffsetHigh;
  if (!::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &beyondTheEnd)) {
    const DWORD code = ::GetLastError();
    if (code == ERROR_LOCK_VIOLATION) return LockAnswer{LockOutcome::Busy, nullptr};
    return SystemError{static_cast<std::int32_t>(code)};
  }
  // Held, the lock keeps every other run of this folder from replacing a name now.
  RemoveLeftovers(FolderOf(name));
  return LockAnswer{LockOutcome::Taken, std::make_unique<Win32RunLock>(std::move(file), FolderOf(name))};
}

}  // namespace kalmor
