// A fresh folder for one test, removed afterwards. Its name holds blanks and a
// character beyond ASCII, as a composer's solver folder may.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <process.h>

#include "tests/support/win32/folder_tree.h"

namespace kalmor::testing {

inline std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

inline std::filesystem::path FromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> counter{0};
    const std::string name = "Kalmor Pr\xC3\xBC" "fung " + std::to_string(::_getpid()) + "-" +
                             std::to_string(counter++);
    path_ = std::filesystem::temp_directory_path() / FromUtf8(name);
    probes::RemoveTree(Utf8(path_));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { probes::RemoveTree(Utf8(path_)); }
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
};

}  // namespace kalmor::testing
