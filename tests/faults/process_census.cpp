#include "tests/faults/process_census.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kalmor::census {
namespace fs = std::filesystem;

namespace {

// Empty when the file is gone or unreadable: a process may end while it is read.
std::string Slurp(const fs::path& path) {
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
    std::istringstream ids(Slurp(task.path() / "children"));
    for (int child = 0; ids >> child;) children.push_back(child);
  }
  return children;
}

char ProcessState(int pid) {
  const std::string stat = Slurp(fs::path("/proc") / std::to_string(pid) / "stat");
  // The name in parentheses may hold anything; the state follows the last ')'.
  const auto close = stat.rfind(')');
  if (close == std::string::npos || close + 2 >= stat.size()) return '\0';
  return stat[close + 2];
}

int OpenDescriptors() {
  int count = 0;
  std::error_code error;
  for (auto it = fs::directory_iterator("/proc/self/fd", error);
       !error && it != fs::directory_iterator(); it.increment(error)) {
    ++count;
  }
  return count - 1;  // the iterator's own descriptor
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

std::vector<int> ProcessesMentioning(const std::string& text) {
  std::vector<int> found;
  const int self = static_cast<int>(::getpid());
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const int pid = std::stoi(name);
    if (pid == self) continue;
    // A zombie's command line is empty, so only live processes match.
    if (Slurp(entry.path() / "cmdline").find(text) != std::string::npos) found.push_back(pid);
  }
  return found;
}

}  // namespace kalmor::census
