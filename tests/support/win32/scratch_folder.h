// A fresh folder for one test, removed afterwards. Its name holds blanks and a
// character beyond ASCII, as a composer's solver folder may.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <system_error>

#include <process.h>

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
