// Timings of the Windows build: run overhead against a bare CreateProcess and
// wait of the same stand-in, the checker's CPU while a solver sleeps, and
// Stop and Close to solver gone. Cross-built and run under Wine by
// scripts/bench.sh, so its figures are Wine's, not those of a real Windows.
//
// Usage: win32_timings <stand-in solver> [runs scale, default 1.0]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench/stop_and_close_timing.h"
#include "bench/table.h"
#include "platform/win32/win32_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "tests/support/win32/scratch_folder.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor::bench {
namespace {

namespace fs = std::filesystem;

int Scaled(int runs, double scale) { return std::max(1, static_cast<int>(runs * scale)); }

double CpuSeconds() {
  FILETIME created{}, ended{}, kernel{}, user{};
  ::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// A checker folder under the prefix's Temp with the stand-in as both builds,
// and a window on the Win32 platform, loaded afresh by load().
class Checker {
 public:
  explicit Checker(const std::string& standin) {
    for (const char* build : {"kmwin32.exe", "kmwin64.exe"}) {
      fs::copy_file(standin, scratch.path() / build);
    }
  }
  void task(const std::string& directives) {
    scratch.put("test_#3.INP", directives + "<Protokoll>\r\nweiss Ka1 Dd1\r\n");
  }
  frmKalmorChecker& load() {
    window.reset();
    platform = std::make_unique<Win32Platform>(testing::Utf8(scratch.path()));
    window = std::make_unique<frmKalmorChecker>(*platform, toolkit);
    toolkit.attach(*window);
    window->Form_Load();
    return *window;
  }
  void runExpecting(const std::string& status) {
    toolkit.click(window->cmdOK);
    if (window->lblStatus.caption() != status) {
      throw std::runtime_error("a run ended as '" + window->lblStatus.caption() + "' / '" +
                               window->lblResult.caption() + "', not '" + status + "'");
    }
  }
  std::string file(const std::string& name) { return scratch.file(name); }

  testing::ScratchFolder scratch;
  HeadlessToolkit toolkit;
  std::unique_ptr<Win32Platform> platform;
  std::unique_ptr<frmKalmorChecker> window;
};

// What the checker's call does, and nothing else: CreateProcessA of the same
// program and command line, hidden, then an unsliced wait.
void BareRun(const std::string& solver, const std::string& commandLine) {
  STARTUPINFOA start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESHOWWINDOW;
  start.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info{};
  std::string line = commandLine;
  if (!::CreateProcessA(solver.c_str(), line.data(), nullptr, nullptr, TRUE,
                        NORMAL_PRIORITY_CLASS, nullptr, nullptr, &start, &info)) {
    throw std::runtime_error("CreateProcessA failed: " + std::to_string(::GetLastError()));
  }
  ::WaitForSingleObject(info.hProcess, INFINITE);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
}

Row RunOverhead(const std::string& standin, double scale) {
  Checker c(standin);
  c.task("");
  auto& f = c.load();
  c.runExpecting(f.TestPassedText);  // writes the input the bare runs use
  const std::string solver = c.platform->toAnsi(c.file("kmwin64.exe"));
  const std::string commandLine = f.CmdLineQuoted;
  std::vector<double> whole, bare, ratios;
  for (int i = 0; i < Scaled(200, scale); ++i) {
    auto start = Steady::now();
    c.runExpecting(f.TestPassedText);
    whole.push_back(Milliseconds(Steady::now() - start));
    start = Steady::now();
    BareRun(solver, c.platform->toAnsi(commandLine));
    bare.push_back(Milliseconds(Steady::now() - start));
    ratios.push_back(whole.back() / bare.back());
  }
  const double ratio = Percentile(ratios, 50);
  return {"Windows (Wine): run overhead, Start pressed to result judged vs bare CreateProcessA + "
          "wait of the same solver, median of " + std::to_string(ratios.size()) + " pair ratios",
          Fixed(ratio, 3) + " (medians " + Fixed(Percentile(whole, 50), 2) + " ms vs " +
              Fixed(Percentile(bare, 50), 2) + " ms)",
          "<= 1.2", Verdict(ratio <= 1.2)};
}

Row IdleCost(const std::string& standin) {
  Checker c(standin);
  c.task("%standin sleep 5000\r\n");
  auto& f = c.load();
  // Timer1 fires every 500 ms as a real toolkit would fire it.
  auto lastTick = Steady::now();
  c.toolkit.onEveryPump([&](int) {
    if (Steady::now() - lastTick >= std::chrono::milliseconds(500)) {
      lastTick = Steady::now();
      c.toolkit.tick();
    }
  });
  const int pumpsBefore = c.toolkit.pumps();
  const double cpuBefore = CpuSeconds();
  const auto start = Steady::now();
  c.runExpecting(f.TestPassedText);
  const double wall = Milliseconds(Steady::now() - start) / 1000;
  const double cpu = CpuSeconds() - cpuBefore;
  c.toolkit.onEveryPump(nullptr);
  const int pumps = c.toolkit.pumps() - pumpsBefore;
  const double percent = 100 * cpu / wall;
  return {"Windows (Wine): idle cost, CPU of the checker process while the solver sleeps 5 s",
          Fixed(percent, 3) + " % (" + Fixed(cpu * 1000, 1) + " ms CPU in " + Fixed(wall, 2) +
              " s; " + std::to_string(pumps) + " slices, " + Fixed(1000 * wall / pumps, 2) +
              " ms each)",
          "< 1 %", Verdict(percent < 1)};
}

// Notes when a process ends, from a thread blocked on a handle of its own.
class ExitWatch {
 public:
  explicit ExitWatch(std::uint32_t processId)
      : process_(::OpenProcess(SYNCHRONIZE, FALSE, processId)) {
    if (process_ == nullptr) throw std::runtime_error("cannot watch the solver");
    thread_ = std::thread([this] {
      ::WaitForSingleObject(process_, INFINITE);
      ended_ = Steady::now();
    });
  }
  ~ExitWatch() {
    if (thread_.joinable()) thread_.join();
    ::CloseHandle(process_);
  }
  ExitWatch(const ExitWatch&) = delete;
  ExitWatch& operator=(const ExitWatch&) = delete;
  Steady::time_point ended() {
    if (thread_.joinable()) thread_.join();
    return ended_;
  }

 private:
  HANDLE process_;
  Steady::time_point ended_{};
  std::thread thread_;
};

std::vector<Row> StopAndClose(const std::string& standin, double scale) {
  Checker c(standin);
  c.task("%standin sleep 60000\r\n");
  const auto [stop, close] = TimeStopAndClose<ExitWatch>(
      c.toolkit, Scaled(100, scale), [&]() -> frmKalmorChecker& { return c.load(); },
      [&](frmKalmorChecker& f, bool closing) { c.runExpecting(closing ? "" : f.AbortedText); });
  const std::string runs = " (" + std::to_string(stop.size()) + " runs)";
  const auto row = [&](const std::string& what, const std::vector<double>& ms) {
    const double p99 = Percentile(ms, 99);
    return Row{"Windows (Wine): " + what + " to solver gone, p50 / p99" + runs,
               Fixed(Percentile(ms, 50), 3) + " ms / " + Fixed(p99, 3) + " ms", "p99 < 20 ms",
               Verdict(p99 < 20)};
  };
  return {row("Stop", stop), row("Close (close box)", close)};
}

}  // namespace
}  // namespace kalmor::bench

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: win32_timings <stand-in solver> [runs scale]\n");
    return 2;
  }
  try {
    const double scale = argc > 2 ? std::atof(argv[2]) : 1.0;
    using namespace kalmor::bench;
    PrintRow(RunOverhead(argv[1], scale));
    PrintRow(IdleCost(argv[1]));
    for (const Row& row : StopAndClose(argv[1], scale)) PrintRow(row);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "win32_timings: %s\n", error.what());
    return 1;
  }
  return 0;
}
