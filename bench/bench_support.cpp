#include "bench/bench_support.h"

#include <poll.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

namespace kalmor::bench {

Bench::Bench(const std::string& standin, const fs::path& parent) {
  std::string pattern = (parent / "kalmor-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  base = pattern;
  folder = base / "checker";
  fs::create_directories(folder);
  for (const char* name : {"kmwin32.exe", "kmwin64.exe"}) fs::copy_file(standin, folder / name);
  solver = (folder / "kmwin64.exe").string();
  fs::create_directories(base / "root/etc/default");
  std::ofstream(base / "root/etc/default/locale") << "LANG=de_DE.UTF-8\n";
}

Bench::~Bench() {
  window.reset();
  platform.reset();
  std::error_code ignored;
  fs::remove_all(base, ignored);
}

void Bench::task(const std::string& body) {
  std::ofstream(folder / "test_#3.INP", std::ios::binary) << body;
}

frmKalmorChecker& Bench::load() {
  window.reset();
  platform = std::make_unique<PosixPlatform>(folder.string(), base / "root");
  window = std::make_unique<frmKalmorChecker>(*platform, toolkit);
  toolkit.attach(*window);
  window->Form_Load();
  return *window;
}

void Bench::run(const std::string& expectedStatus) {
  toolkit.click(window->cmdOK);
  if (window->lblStatus.caption() != expectedStatus) {
    throw std::runtime_error("run ended with \"" + window->lblStatus.caption() + "\", not \"" +
                             expectedStatus + "\"");
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
