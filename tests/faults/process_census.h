// What /proc tells of processes: this one's open descriptors, and which
// processes name a given path. Runs must leave neither behind.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "tests/faults/checker_folder.h"

namespace kalmor::census {

inline int OpenDescriptors() {
  namespace fs = std::filesystem;
  // Less the iterator's own descriptor.
  return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator())) - 1;
}

// Live processes other than this one whose command line contains text.
inline std::vector<int> ProcessesMentioning(const std::string& text) {
  std::vector<int> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos || std::stoi(name) == ::getpid()) continue;
    // A zombie's command line is empty, so only live processes match.
    if (Slurp(entry.path() / "cmdline").find(text) != std::string::npos) found.push_back(std::stoi(name));
  }
  return found;
}

}  // namespace kalmor::census
