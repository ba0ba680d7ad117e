#include "tests/support/win32/folder_tree.h"

#include <windows.h>

#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_text.h"

namespace kalmor::probes {
namespace {

std::string Content(const std::wstring& path) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return "unreadable (error " + std::to_string(::GetLastError()) + ")";
  std::string content;
  char buffer[64 * 1024];
  DWORD got = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    content.append(buffer, got);
  }
  return content;
}

void Describe(const std::wstring& folder, const std::string& prefix,
              std::map<std::string, std::string>& entries) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::string key = prefix + WideToUtf8(name);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      entries[key] = "folder";
      Describe(folder + L"\\" + name, key + "\\", entries);
      continue;
    }
    const ULONGLONG size = (ULONGLONG{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    const ULONGLONG written =
        (ULONGLONG{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime;
    entries[key] = "file attributes " + std::to_string(found.dwFileAttributes) + " size " +
                   std::to_string(size) + " written " + std::to_string(written) + " content " +
                   Content(folder + L"\\" + name);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

bool Remove(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        Remove(path);
      } else {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
      }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  return ::RemoveDirectoryW(folder.c_str()) != 0;
}

}  // namespace

std::map<std::string, std::string> DescribeTree(const std::string& folder) {
  std::map<std::string, std::string> entries;
  Describe(L"\\\\?\\" + Utf8ToWide(folder), "", entries);
  return entries;
}

bool RemoveTree(const std::string& folder) {
  const std::wstring whole = L"\\\\?\\" + Utf8ToWide(folder);
  return Remove(whole) || ::GetFileAttributesW(whole.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace kalmor::probes
