#include "tests/support/win32/folder_tree.h"

#include <windows.h>

#include <functional>

#include "platform/win32/win32_text.h"

namespace kalmor::probes {
namespace {

// Calls visit for each entry of folder but "." and "..".
void ForEachEntry(const std::wstring& folder,
                  const std::function<void(const std::wstring&, const WIN32_FIND_DATAW&)>& visit) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") visit(name, found);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

void Describe(const std::wstring& folder, const std::string& prefix,
              std::map<std::string, std::string>& entries) {
  ForEachEntry(folder, [&](const std::wstring& name, const WIN32_FIND_DATAW& found) {
    const std::string key = prefix + WideToUtf8(name);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      entries[key] = "folder";
      Describe(folder + L"\\" + name, key + "\\", entries);
      return;
    }
    const ULONGLONG size = (ULONGLONG{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
    const ULONGLONG written =
        (ULONGLONG{found.ftLastWriteTime.dwHighDateTime} << 32) | found.ftLastWriteTime.dwLowDateTime;
    entries[key] = "file attributes " + std::to_string(found.dwFileAttributes) + " size " +
                   std::to_string(size) + " written " + std::to_string(written);
  });
}

bool Remove(const std::wstring& folder) {
  ForEachEntry(folder, [&](const std::wstring& name, const WIN32_FIND_DATAW& found) {
    const std::wstring path = folder + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      Remove(path);
    } else {
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(path.c_str());
    }
  });
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
