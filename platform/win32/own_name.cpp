#include "platform/win32/own_name.h"

#include <algorithm>
#include <vector>

namespace kalmor {
namespace {

std::wstring FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(),
                                                     static_cast<DWORD>(path.size()), 0);
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    path.resize(length);
  }
}

// A file of this one name: not a folder, not a link, no second name.
bool IsOwnPlainFile(HANDLE handle, const std::wstring& name) {
  BY_HANDLE_FILE_INFORMATION info{};
  constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
  return ::GetFileInformationByHandle(handle, &info) && (info.dwFileAttributes & kNotPlain) == 0 &&
         info.nNumberOfLinks == 1 && EndsAtItsName(handle, name);
}

// Renames the file of handle to name, taking the place of whatever entry
// stands there: a link is replaced, never followed.
bool RenameOver(HANDLE handle, const std::wstring& name) {
  std::wstring full(::GetFullPathNameW(name.c_str(), 0, nullptr, nullptr), L'\0');
  full.resize(::GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(),
                                 nullptr));
  if (full.empty()) return false;
  // The system's own form of the path: the call takes no other.
  const std::wstring target = full.starts_with(L"\\\\?\\") ? L"\\??\\" + full.substr(4)
                              : full.starts_with(L"\\\\")  ? L"\\??\\UNC\\" + full.substr(2)
                                                           : L"\\??\\" + full;
  std::vector<char> request(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(request.data());
  rename->ReplaceIfExists = TRUE;
  rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), rename->FileName);
  return ::SetFileInformationByHandle(handle, FileRenameInfo, rename,
                                      static_cast<DWORD>(request.size()));
}

}  // namespace

UniqueHandle OpenHandle(const std::wstring& name, DWORD access, DWORD disposition, DWORD flags) {
  return UniqueHandle(
      ::CreateFileW(name.c_str(), access, kShareAll, nullptr, disposition, flags, nullptr));
}

bool EndsAtItsName(HANDLE handle, const std::wstring& name) {
  const std::size_t separator = name.find_last_of(L"\\/");
  const std::size_t leaf = separator == std::wstring::npos ? 0 : separator + 1;
  const UniqueHandle folder = OpenHandle(leaf == 0 ? L"." : name.substr(0, leaf), 0,
                                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  std::wstring expected = folder ? FinalPath(folder.get()) : std::wstring();
  if (expected.empty()) return false;
  if (expected.back() != L'\\') expected += L'\\';
  expected += name.substr(leaf);
  const std::wstring reached = FinalPath(handle);
  return ::CompareStringOrdinal(reached.c_str(), static_cast<int>(reached.size()),
                                expected.c_str(), static_cast<int>(expected.size()),
                                TRUE) == CSTR_EQUAL;
}

UniqueHandle ReplaceName(const std::wstring& name, bool keep) {
  const std::wstring fresh = name + L"." + std::to_wstring(::GetCurrentProcessId()) + L".new";
  UniqueHandle handle =
      OpenHandle(fresh, GENERIC_READ | GENERIC_WRITE | DELETE, CREATE_NEW,
                 FILE_ATTRIBUTE_NORMAL | (keep ? 0 : FILE_FLAG_DELETE_ON_CLOSE));
  if (!handle || RenameOver(handle.get(), name)) return handle;
  const DWORD code = ::GetLastError();
  handle.reset();
  if (keep) ::DeleteFileW(fresh.c_str());
  ::SetLastError(code);
  return {};
}

UniqueHandle OpenOwnFile(const std::wstring& name, DWORD access, std::int32_t& error) {
  UniqueHandle handle = OpenHandle(name, access, CREATE_NEW);
  DWORD code = ::GetLastError();
  // Once more after a replacement, so that the handle asks for no more than
  // access: a DELETE access would stop the solver reading its input.
  for (int round = 0; !handle && code == ERROR_FILE_EXISTS && round < 2; ++round) {
    handle = OpenHandle(name, access, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle && IsOwnPlainFile(handle.get(), name)) return handle;
    code = ::GetLastError();
    // Not found although something stands there: a dangling link.
    const bool stands = handle || code == ERROR_FILE_NOT_FOUND;
    handle.reset();  // Wine replaces no file that is open
    if (!stands || round == 1) break;
    code = ReplaceName(name, true) ? ERROR_FILE_EXISTS : ::GetLastError();
  }
  if (!handle) error = static_cast<std::int32_t>(code);
  return handle;
}

}  // namespace kalmor
