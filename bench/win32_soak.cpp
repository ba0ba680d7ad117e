// Soak of the Windows build: many runs in one window on the Win32 platform,
// with the stand-in solver ending at once, and what the checker process holds
// before and after: kernel handles, private bytes, working set, children.
// Cross-built and run under Wine by scripts/bench.sh, so its figures are
// Wine's, not those of a real Windows.
//
// Usage: win32_soak <stand-in solver> [runs scale, default 1.0]
// clang-format off
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/table.h"
#include "tests/support/win32/process_census.h"
#include "platform/win32/win32_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "tests/support/win32/scratch_folder.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor::bench {
namespace {

namespace fs = std::filesystem;

// Private bytes are the committed private pages of the address space, summed
// by VirtualQuery: GetProcessMemoryInfo answers 0 for them under Wine 8.
struct MemoryUse {
  std::size_t privateBytes = 0;
  std::size_t workingSet = 0;
};

MemoryUse ThisProcessMemory() {
  MemoryUse use;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) {
    use.workingSet = counters.WorkingSetSize;
  }
  MEMORY_BASIC_INFORMATION region{};
  for (const char* at = nullptr; ::VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) use.privateBytes += region.RegionSize;
  }
  return use;
}

// Live processes whose parent is this process.
std::size_t ChildrenOfThisProcess() {
  const DWORD self = ::GetCurrentProcessId();
  std::size_t children = 0;
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
       more = ::Process32NextW(snapshot, &entry)) {
    children += entry.th32ParentProcessID == self && entry.th32ProcessID != self;
  }
  ::CloseHandle(snapshot);
  return children;
}

std::string KiB(std::size_t bytes) { return std::to_string(bytes / 1024) + " KiB"; }

std::string Growth(std::size_t before, std::size_t after) {
  const long long kib = (static_cast<long long>(after) - static_cast<long long>(before)) / 1024;
  return (kib >= 0 ? "+" : "") + std::to_string(kib) + " KiB";
}

std::vector<Row> Soak(const std::string& standin, double scale) {
  testing::ScratchFolder scratch;
  for (const char* build : {"kmwin32.exe", "kmwin64.exe"}) {
    fs::copy_file(standin, scratch.path() / build);
  }
  scratch.put("test_#3.INP", "<Protokoll>\r\nweiss Ka1 Dd1\r\n");
  Win32Platform platform(testing::Utf8(scratch.path()));
  HeadlessToolkit toolkit;
  frmKalmorChecker window(platform, toolkit);
  toolkit.attach(window);
  window.Form_Load();

  std::vector<double> runMs;
  const auto run = [&] {
    const auto started = Steady::now();
    toolkit.click(window.cmdOK);
    runMs.push_back(Milliseconds(Steady::now() - started));
    if (window.lblStatus.caption() != window.TestPassedText) {
      throw std::runtime_error("a run did not pass: " + window.lblStatus.caption() + " / " +
                               window.lblResult.caption());
    }
  };
  // After one run, so that what a first run sets up once is in the baseline.
  run();
  const std::uint32_t handlesBefore = probes::OpenHandles();
  const MemoryUse memoryBefore = ThisProcessMemory();
  const std::size_t childrenBefore = ChildrenOfThisProcess();
  const int runs = std::max(1, static_cast<int>(1000 * scale));
  runMs.clear();
  for (int i = 0; i < runs; ++i) run();
  const std::uint32_t handlesAfter = probes::OpenHandles();
  const MemoryUse memoryAfter = ThisProcessMemory();
  const std::size_t childrenAfter = ChildrenOfThisProcess();
  const std::size_t solversAfter = probes::ProcessesNamed("kmwin").size();

  const std::string n = std::to_string(runs);
  const auto pair = [](auto before, auto after) {
    return std::to_string(before) + " / " + std::to_string(after);
  };
  return {
      {"Windows soak (Wine), " + n + " runs in one window: open handles before / after",
       pair(handlesBefore, handlesAfter), "no growth",
       handlesBefore == 0 ? "not measured" : Verdict(handlesAfter <= handlesBefore)},
      {"Windows soak (Wine): private bytes (committed private pages) before / after",
       KiB(memoryBefore.privateBytes) + " / " + KiB(memoryAfter.privateBytes) + " (" +
           Growth(memoryBefore.privateBytes, memoryAfter.privateBytes) + ")",
       "no growth (< 1 MiB)",
       memoryBefore.privateBytes == 0
           ? "not measured"
           : Verdict(memoryAfter.privateBytes < memoryBefore.privateBytes + (1u << 20))},
      {"Windows soak (Wine): working set before / after",
       KiB(memoryBefore.workingSet) + " / " + KiB(memoryAfter.workingSet) + " (" +
           Growth(memoryBefore.workingSet, memoryAfter.workingSet) + ")",
       "-", "info"},
      {"Windows soak (Wine): child processes before / after; kmwin*.exe running after",
       pair(childrenBefore, childrenAfter) + "; " + std::to_string(solversAfter),
       "none left", Verdict(childrenAfter == 0 && solversAfter == 0)},
      {"Windows soak (Wine): one whole run, Start pressed to result judged, p50 / p99",
       Fixed(Percentile(runMs, 50), 2) + " ms / " + Fixed(Percentile(runMs, 99), 2) + " ms", "-",
       "info"},
  };
}

}  // namespace
}  // namespace kalmor::bench

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: win32_soak <stand-in solver> [runs scale]\n");
    return 2;
  }
  try {
    const double scale = argc > 2 ? std::atof(argv[2]) : 1.0;
    for (const auto& row : kalmor::bench::Soak(argv[1], scale)) kalmor::bench::PrintRow(row);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "win32_soak: %s\n", error.what());
    return 1;
  }
  return 0;
}
