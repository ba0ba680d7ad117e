#include "bench/process_counts.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kalmor::census {
namespace fs = std::filesystem;

namespace {

// Empty when the file is gone or unreadable: a process may end while it is read.
std::string ReadProcFile(const fs::path& path) {
  std::string text;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return text;
  char buffer[4096];
  for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return text;
}

}  // namespace

std::vector<int> ChildrenOf(int pid) {
  std::vector<int> children;
  std::error_code error;
  const fs::path tasks = fs::path("/proc") / std::to_string(pid) / "task";
  for (const auto& task : fs::directory_iterator(tasks, error)) {
    std::istringstream ids(ReadProcFile(task.path() / "children"));
    for (int child = 0; ids >> child;) children.push_back(child);
  }
  return children;
}

char ProcessState(int pid) {
  const std::string stat = ReadProcFile(fs::path("/proc") / std::to_string(pid) / "stat");
  // The name in parentheses may hold anything; the state follows the last ')'.
  const auto close = stat.rfind(')');
  if (close == std::string::npos || close + 2 >= stat.size()) return '\0';
  return stat[close + 2];
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace kalmor::census
