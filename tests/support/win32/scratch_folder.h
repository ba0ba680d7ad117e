// A fresh folder for one test, removed afterwards, and links in it. Its name
// holds blanks and a character beyond ASCII, as a composer's solver folder may.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <system_error>

#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include "platform/win32/win32_handle.h"

namespace kalmor::testing {

inline std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

inline std::filesystem::path FromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Every entry below folder by its relative path: "folder", or the file's bytes.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    std::ostringstream bytes;
    if (entry.is_directory()) bytes << "folder";
    else bytes << std::ifstream(entry.path(), std::ios::binary).rdbuf();
    entries[Utf8(entry.path().lexically_relative(folder))] = bytes.str();
  }
  return entries;
}

// A symbolic link as the system makes it: under Wine a Unix one, by ln.
inline void MakeLink(const std::filesystem::path& name, const std::string& target) {
  using UnixName = char*(__cdecl*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unixName == nullptr) {
    ASSERT_TRUE(::CreateSymbolicLinkW(name.c_str(), FromUtf8(target).make_preferred().c_str(),
                                      SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE));
    return;
  }
  char* unixPath = unixName(name.c_str());
  std::wstring command = L"ln -s \"" + FromUtf8(target).wstring() + L"\" \"" +
                         FromUtf8(unixPath).wstring() + L"\"";
  ::HeapFree(::GetProcessHeap(), 0, unixPath);
  STARTUPINFOW start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION ln{};
  ASSERT_TRUE(::CreateProcessW(L"Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &start, &ln));
  UniqueHandle process(ln.hProcess), thread(ln.hThread);
  ::WaitForSingleObject(process.get(), 10000);
}

class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> counter{0};
    const std::string name = "Kalmor Pr\xC3\xBC" "fung " + std::to_string(::_getpid()) + "-" +
                             std::to_string(counter++);
    path_ = std::filesystem::temp_directory_path() / FromUtf8(name);
    std::filesystem::remove_all(path_, ignored_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_, ignored_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The UTF-8 path of name inside the folder, joined with a backslash.
  std::string file(const std::string& name) const { return Utf8(path_) + "\\" + name; }
  std::string put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / FromUtf8(name), std::ios::binary) << bytes;
    return file(name);
  }

 private:
  std::filesystem::path path_;
  std::error_code ignored_;
};

}  // namespace kalmor::testing
