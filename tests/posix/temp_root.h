// A throw-away folder that stands in for "/" so that files under etc/ can be
// written without touching the machine's own.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace kalmor::posix_sysinfo_test {

class TempRoot {
 public:
  TempRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kalmor-root-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  // Removal errors are ignored: a left-over folder in the temp folder harms no test.
  ~TempRoot() { std::filesystem::remove_all(path_, removalError_); }
  TempRoot(const TempRoot&) = delete;
  TempRoot& operator=(const TempRoot&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // Writes <root>/<relative> with the given content, creating its folders.
  void write(const std::string& relative, const std::string& content) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }

 private:
  std::filesystem::path path_;
  std::error_code removalError_;
};

}  // namespace kalmor::posix_sysinfo_test
