// Shared pieces of the benchmarks: a scratch checker folder with the stand-in
// solver and a window on the real POSIX platform, and an exit watch on a pidfd
// of our own.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/table.h"
#include "platform/posix/posix_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor::bench {

namespace fs = std::filesystem;

// A checker folder below parent with the stand-in as both solver builds and
// a German system root; removed again on destruction.
class Bench {
 public:
  explicit Bench(const std::string& standin, const fs::path& parent = "/tmp");
  ~Bench();
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  void task(const std::string& body);
  // A fresh platform and window, loaded; the previous ones are dropped first.
  frmKalmorChecker& load();
  // Presses Start and fails loudly unless the status reads expectedStatus.
  void run(const std::string& expectedStatus);

  fs::path base;
  fs::path folder;
  std::string solver;  // the 64-bit build's path, which a loaded window runs
  HeadlessToolkit toolkit;
  std::unique_ptr<PosixPlatform> platform;
  std::unique_ptr<frmKalmorChecker> window;
};

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
