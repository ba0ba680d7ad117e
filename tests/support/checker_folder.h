// A checker folder on disk, below a fresh scratch folder, with the stand-in
// solver as both solver builds, and a checker window on the real POSIX
// platform that runs in it with German texts (a system root of its own says
// LANG=de_DE); and what /proc tells of the processes running from it and of
// this process's descriptors. The fault, POSIX and GUI suites and the
// benchmarks work on one.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/posix_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor {

// A whole file's bytes; empty when it is no regular file or cannot be read.
// A read error (a /proc file of a process that ends meanwhile) ends the text
// instead of throwing.
inline std::string Slurp(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return {};
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Writes the file, and the folders it lies in.
inline void Spit(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// Live processes other than this one whose command line contains text, such
// as the solvers below a checker folder.
inline std::vector<int> ProcessesMentioning(const std::string& text) {
  std::vector<int> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const int pid = std::atoi(entry.path().filename().c_str());  // 0 for what is no process
    // A zombie's command line is empty, so only live processes match.
    if (pid > 0 && pid != ::getpid() && Slurp(entry.path() / "cmdline").find(text) != std::string::npos) {
      found.push_back(pid);
    }
  }
  return found;
}

// Open descriptors of this process: runs must leave none behind.
inline int OpenDescriptors() {
  using std::filesystem::directory_iterator;
  // Less the iterator's own descriptor.
  return static_cast<int>(std::distance(directory_iterator("/proc/self/fd"), directory_iterator())) - 1;
}

class CheckerFolder {
 public:
  // Makes <parent>/kalmor-<tag>-XXXXXX holding the system root "root" and the folder "checker".
  CheckerFolder(std::string standin, const std::string& tag, const std::filesystem::path& parent = "/tmp")
      : standin_(std::move(standin)) {
    std::string pattern = (parent / ("kalmor-" + tag + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    base = pattern;
    Spit(base / "root/etc/default/locale", "LANG=de_DE.UTF-8\n");
    makeFolder("checker");
  }
  // Drops the window and the platform, then removes everything.
  virtual ~CheckerFolder() {
    window.reset();
    platform.reset();
    std::error_code ignored;
    std::filesystem::remove_all(base, ignored);
  }

  // Another checker folder, named name, below the same scratch folder.
  void makeFolder(const std::string& name) {
    folder = base / name;
    std::filesystem::create_directories(folder);
    for (const char* solver : {"kmwin32.exe", "kmwin64.exe"}) {
      std::filesystem::copy_file(standin_, folder / solver, std::filesystem::copy_options::overwrite_existing);
    }
  }
  void task(const std::string& body, const char* name = "test_#3.INP") { Spit(folder / name, body); }
  // A fresh platform and window, loaded; the previous ones go first.
  frmKalmorChecker& load() {
    window.reset();
    platform = std::make_unique<PosixPlatform>(folder.string(), base / "root");
    window = std::make_unique<frmKalmorChecker>(*platform, toolkit);
    toolkit.attach(*window);
    window->Form_Load();
    return *window;
  }

  std::filesystem::path base;
  std::filesystem::path folder;
  HeadlessToolkit toolkit;
  std::unique_ptr<PosixPlatform> platform;
  std::unique_ptr<frmKalmorChecker> window;

 private:
  std::string standin_;
};

}  // namespace kalmor
