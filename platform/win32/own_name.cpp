#include "platform/win32/own_name.h"

#include <ntsecapi.h>

#include <algorithm>
#include <cwctype>
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

// A replacement is made under a name no one can guess, so that no file put
// there beforehand can block a run or be taken for the new one:
// ~kalmor-<16 hex digits>.new beside the name it replaces.
constexpr std::wstring_view kFreshPrefix = L"~kalmor-";
constexpr std::wstring_view kFreshSuffix = L".new";
constexpr std::size_t kFreshDigits = 16;

std::wstring FolderPart(const std::wstring& name) {
  const std::size_t separator = name.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : name.substr(0, separator + 1);
}

// Empty when the system gives no random bytes.
std::wstring FreshName(const std::wstring& name) {
  std::uint64_t random = 0;
  if (!::RtlGenRandom(&random, sizeof random)) return {};
  std::wstring digits(kFreshDigits, L'0');
  for (wchar_t& digit : digits) {
    digit = L"0123456789abcdef"[random & 0xF];
    random >>= 4;
  }
  return FolderPart(name) + std::wstring(kFreshPrefix) + digits + std::wstring(kFreshSuffix);
}

bool IsFreshName(std::wstring_view leaf) {
  if (leaf.size() != kFreshPrefix.size() + kFreshDigits + kFreshSuffix.size() ||
      !leaf.starts_with(kFreshPrefix) || !leaf.ends_with(kFreshSuffix)) {
    return false;
  }
  const std::wstring_view digits = leaf.substr(kFreshPrefix.size(), kFreshDigits);
  return std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return std::iswxdigit(c); });
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
  const std::wstring fresh = FreshName(name);
  if (fresh.empty()) {
    ::SetLastError(ERROR_GEN_FAILURE);
    return {};
  }
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
  if (handle) return handle;
  DWORD code = ::GetLastError();
  // Once more after a replacement, so that the handle asks for no more than
  // access: a DELETE access would stop the solver reading its input.
  for (int round = 0; code == ERROR_FILE_EXISTS; ++round) {
    handle = OpenHandle(name, access, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT);
    if (handle && IsOwnPlainFile(handle.get(), name)) return handle;
    // Not found although something stands there: a dangling link.
    const bool stands = handle || ::GetLastError() == ERROR_FILE_NOT_FOUND;
    if (!stands) code = ::GetLastError();
    handle.reset();  // Wine replaces no file that is open
    // Replaced, and yet not a file of its own: something puts it back.
    if (!stands || round == 1) break;
    if (!ReplaceName(name, true)) code = ::GetLastError();
  }
  error = static_cast<std::int32_t>(code);
  return {};
}

void RemoveLeftovers(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const std::wstring prefix = folder.empty() ? std::wstring() : folder + L"\\";
  const UniqueFind search(::FindFirstFileW(
      (prefix + std::wstring(kFreshPrefix) + L"*" + std::wstring(kFreshSuffix)).c_str(), &found));
  if (!search) return;
  do {
    const std::wstring name = prefix + found.cFileName;
    // Asked first, which opens nothing: a Unix FIFO or device answers no
    // attributes, and opened it could wait for ever.
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    constexpr DWORD kNotPlain =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    if (!IsFreshName(found.cFileName) || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & kNotPlain) != 0) {
      continue;
    }
    // Shared with no one: a replacement another checker is making now stays.
    const UniqueHandle file(::CreateFileW(name.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file || !IsOwnPlainFile(file.get(), name)) continue;
    FILE_DISPOSITION_INFO gone{TRUE};
    ::SetFileInformationByHandle(file.get(), FileDispositionInfo, &gone, sizeof gone);
  } while (::FindNextFileW(search.get(), &found));
}

}  // namespace kalmor
