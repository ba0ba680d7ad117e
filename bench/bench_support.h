// Shared pieces of the benchmarks: a run that must end as expected, and an
// exit watch on a pidfd of our own.
#pragma once

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "bench/table.h"
#include "tests/support/checker_folder.h"

namespace kalmor::bench {

// Presses Start and fails loudly unless the status then reads expectedStatus.
void RunExpecting(CheckerFolder& checker, const std::string& expectedStatus);

inline const std::string kPassed = "Test erfolgreich abgeschlossen!";
inline const std::string kAborted = "Test wurde abgebrochen";

// Notes the moment a process ends, from a thread blocked in poll() on a pidfd
// of its own: the kernel's exit notification, not our reaping of it.
class ExitWatch {
 public:
  explicit ExitWatch(int pid);
  ~ExitWatch();
  ExitWatch(const ExitWatch&) = delete;
  ExitWatch& operator=(const ExitWatch&) = delete;
  Steady::time_point ended();  // waits for the end

 private:
  int pidfd_ = -1;
  Steady::time_point ended_{};
  std::thread thread_;
};

}  // namespace kalmor::bench
