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
#include "tests/support/eventually.h"

namespace kalmor::testing {

inline std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

inline std::filesystem::path FromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Every entry below folder by its relative path: "folder", the file's bytes, or
// nothing for what is neither (read, a named pipe could wait for ever).
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    std::ostringstream bytes;
    if (entry.is_directory()) bytes << "folder";
    else if (entry.is_regular_file()) bytes << std::ifstream(entry.path(), bytes.binary).rdbuf();
    entries[Utf8(entry.path().lexically_relative(folder))] = bytes.str();
  }
  return entries;
}

// Runs a shell script under Wine, "$0" being name's Unix path, and waits for
// it; false on Windows. Wine gives no handle of a Unix process to wait on, so
// the script says it is done by removing a file.
inline bool UnixShell(const std::filesystem::path& name, const std::wstring& script) {
  using UnixName = char*(__cdecl*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unixName == nullptr) return false;
  char* unixPath = unixName(name.c_str());
  const std::filesystem::path busy = name.wstring() + L".busy";
  std::ofstream{busy};
  std::wstring command = L"sh -c \"";
  for (auto c : script + L"; rm \"$0.busy\"") command += c == L'"' ? L"\\\"" : std::wstring(1, c);
  command += L"\" \"" + FromUtf8(unixPath).wstring() + L"\"";
  ::HeapFree(::GetProcessHeap(), 0, unixPath);
  STARTUPINFOW start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION sh{};
  EXPECT_TRUE(::CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &start, &sh));
  EXPECT_TRUE(Eventually(std::chrono::seconds(10), [&] { return !std::filesystem::exists(busy); }));
  return true;
}

// A symbolic link as the system makes it: under Wine a Unix one, by ln.
inline void MakeLink(const std::filesystem::path& name, const std::string& target) {
  if (UnixShell(name, L"ln -s '" + FromUtf8(target).wstring() + L"' \"$0\"")) return;
  ASSERT_TRUE(::CreateSymbolicLinkW(name.c_str(), FromUtf8(target).make_preferred().c_str(),
                                    SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE));
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
