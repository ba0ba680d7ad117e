#include "bench/bench_support.h"

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <stdexcept>

namespace kalmor::bench {

void RunExpecting(CheckerFolder& checker, const std::string& expectedStatus) {
  checker.toolkit.click(checker.window->cmdOK);
  const std::string& status = checker.window->lblStatus.caption();
  if (status != expectedStatus) {
    throw std::runtime_error("run ended with \"" + status + "\", not \"" + expectedStatus + "\"");
  }
}

ExitWatch::ExitWatch(int pid) : pidfd_(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0))) {
  if (pidfd_ < 0) throw std::runtime_error("pidfd_open failed");
  thread_ = std::thread([this] {
    pollfd entry{pidfd_, POLLIN, 0};
    while (::poll(&entry, 1, -1) < 0) {
    }
    ended_ = Steady::now();
  });
}

ExitWatch::~ExitWatch() {
  if (thread_.joinable()) thread_.join();
  ::close(pidfd_);
}

Steady::time_point ExitWatch::ended() {
  if (thread_.joinable()) thread_.join();
  return ended_;
}

}  // namespace kalmor::bench
