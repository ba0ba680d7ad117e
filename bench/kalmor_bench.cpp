// The checker's figures under load, each against its goal, as table rows:
// run overhead, idle cost while a solver runs, how soon the end of a solver
// is judged, how soon Stop and Close end it, a huge task file, and a soak of
// 1,000 runs in one window. Everything runs through the headless front-end on
// the real POSIX platform with the real stand-in solver.
//
// Usage: kalmor_bench <stand-in solver> <startup_probe> [runs scale, default 1.0]
//                     [kalmor-check spawn_probe]
// BENCH_ONLY=kalmor-check measures kalmor-check alone.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/process_counts.h"
#include "bench/stop_and_close_timing.h"

extern char** environ;

namespace kalmor::bench {
namespace {

namespace fs = std::filesystem;

int Scaled(int runs, double scale) { return std::max(1, static_cast<int>(runs * scale)); }

double CpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// VmHWM: the peak resident memory since start or since the last reset.
long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

// A program started with the standard streams on /dev/null, as the platform
// starts the solver, and waited for; returns its exit status.
int SpawnAndWait(std::vector<std::string> args) {
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  for (int fd = 0; fd <= 2; ++fd) {
    ::posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  }
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The solver started and waited for the plainest way.
void BareRun(const std::string& solver, const std::string& input) { SpawnAndWait({solver, input}); }

// What a kalmor-check run adds to the bare start of the solver, at one
// percentile of each: a second process that starts the solver and waits for
// it (spawn_probe with the solver, less spawn_probe alone, less the bare
// start), and the rest, the window's own work.
Row Split(const std::string& which, double p, const std::vector<double>& whole,
          const std::vector<double>& startUp, const std::vector<double>& bare,
          const std::vector<double>& starter, const std::vector<double>& starterAlone) {
  const double added = Percentile(whole, p) - Percentile(startUp, p) - Percentile(bare, p);
  const double second = Percentile(starter, p) - Percentile(starterAlone, p) - Percentile(bare, p);
  return {"kalmor-check run less start-up, beyond the bare start, " + which,
          Fixed(added * 1000, 0) + " us = second process " + Fixed(second * 1000, 0) +
              " us + the window's run " + Fixed((added - second) * 1000, 0) + " us (bare start " +
              Fixed(Percentile(bare, p) * 1000, 0) + " us)",
          "-", "info"};
}

// kalmor-check for one run, as a whole process, against a bare start of the
// same stand-in as a whole process, in pairs; and its start-up alone: the same
// program asked for a task the folder lacks, which ends after start-up. The
// least program that runs the solver (spawn_probe), with and without the
// solver, splits what the run adds beyond the bare start: what any second
// process costs, and the window's own work.
std::vector<Row> CheckProgram(CheckerFolder& b, const std::string& check, const std::string& probe,
                              double scale) {
  b.task("<Protokoll>\r\n");
  const std::string folder = b.folder.string();
  const std::string input = (b.folder / "TMP_INPUT.INP").string();
  const std::vector<std::string> oneRun{check, "--folder", folder, "--build", "64", "--mode", "1"};
  if (SpawnAndWait(oneRun) != 0) throw std::runtime_error("kalmor-check did not pass");
  std::vector<double> whole;
  std::vector<double> bare;
  std::vector<double> startUp;
  std::vector<double> starter;
  std::vector<double> starterAlone;
  for (int i = 0; i < Scaled(200, scale); ++i) {
    auto start = Steady::now();
    if (SpawnAndWait(oneRun) != 0) throw std::runtime_error("kalmor-check did not pass");
    whole.push_back(Milliseconds(Steady::now() - start));
    start = Steady::now();
    BareRun((b.folder / "kmwin64.exe").string(), input);
    bare.push_back(Milliseconds(Steady::now() - start));
    start = Steady::now();
    if (SpawnAndWait({check, "--folder", folder, "--task", "4"}) != 2) {
      throw std::runtime_error("kalmor-check without its task did not say so");
    }
    startUp.push_back(Milliseconds(Steady::now() - start));
    start = Steady::now();
    SpawnAndWait({probe, (b.folder / "kmwin64.exe").string(), input});
    starter.push_back(Milliseconds(Steady::now() - start));
    start = Steady::now();
    SpawnAndWait({probe});
    starterAlone.push_back(Milliseconds(Steady::now() - start));
  }
  const double w = Percentile(whole, 50);
  const double s = Percentile(startUp, 50);
  const double goal = 1.2 * Percentile(bare, 50) + s;
  const std::string runs = " (" + std::to_string(whole.size()) + " runs each)";
  // The fastest of each shows the cost itself; on a busy machine the medians
  // also hold the waits for a core, of which this path has one more than the bare run.
  return {{"kalmor-check, one run as a whole process vs a bare start of the same stand-in as a "
           "whole process, medians" + runs,
           Fixed(w, 2) + " ms vs " + Fixed(Percentile(bare, 50), 2) + " ms; without start-up " +
               Fixed((w - s) / Percentile(bare, 50), 3) + " times the bare run (fastest: " +
               Fixed(Percentile(whole, 0), 2) + " ms vs " + Fixed(Percentile(bare, 0), 2) +
               " ms, start-up " + Fixed(Percentile(startUp, 0), 2) + " ms)",
           "<= 1.2 x bare + start-up = " + Fixed(goal, 2) + " ms", Verdict(w <= goal)},
          {"kalmor-check start-up alone: start to exit after the window's start-up, p50 / p99" + runs,
           Fixed(s, 2) + " ms / " + Fixed(Percentile(startUp, 99), 2) + " ms", "-", "info"},
          Split("medians", 50, whole, startUp, bare, starter, starterAlone),
          Split("fastest tenth", 10, whole, startUp, bare, starter, starterAlone)};
}

Row RunOverhead(CheckerFolder& b, double scale, const std::string& where) {
  b.task("<Protokoll>\r\n");
  b.load();
  const std::string input = (b.folder / "TMP_INPUT.INP").string();
  RunExpecting(b, kPassed);  // writes the input the bare runs use
  // Pairs side by side, so that both halves of a pair meet the same machine.
  std::vector<double> whole;
  std::vector<double> bare;
  std::vector<double> ratios;
  for (int i = 0; i < Scaled(200, scale); ++i) {
    auto start = Steady::now();
    RunExpecting(b, kPassed);
    whole.push_back(Milliseconds(Steady::now() - start));
    start = Steady::now();
    BareRun((b.folder / "kmwin64.exe").string(), input);
    bare.push_back(Milliseconds(Steady::now() - start));
    ratios.push_back(whole.back() / bare.back());
  }
  const double ratio = Percentile(ratios, 50);
  return {"Run overhead, folder on " + where +
              ": Start pressed to result judged vs bare spawn+wait of the same solver, median of " +
              std::to_string(ratios.size()) + " pair ratios",
          Fixed(ratio, 3) + " (medians " + Fixed(Percentile(whole, 50), 2) + " ms vs " +
              Fixed(Percentile(bare, 50), 2) + " ms, their ratio " +
              Fixed(Percentile(whole, 50) / Percentile(bare, 50), 3) + ")",
          "<= 1.2", Verdict(ratio <= 1.2)};
}

// The floor under the idle cost: nothing but 10 ms waits on a pidfd of a
// sleeping solver, as many as the checker's wait makes in the same time.
Row BareSliceCost(CheckerFolder& b) {
  b.task("%standin sleep 5000\r\n<Protokoll>\r\n");
  b.load();
  int slices = 0;
  double cpu = 0;
  double wall = 0;
  b.toolkit.atNextPump([&] {
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, b.window->Solver->processId(), 0));
    const double cpuBefore = CpuSeconds();
    const auto start = Steady::now();
    pollfd entry{pidfd, POLLIN, 0};
    while (::poll(&entry, 1, 10) == 0) ++slices;
    wall = Milliseconds(Steady::now() - start) / 1000;
    cpu = CpuSeconds() - cpuBefore;
    ::close(pidfd);
  });
  RunExpecting(b, kPassed);
  return {"Idle cost floor: bare 10 ms poll() slices on the sleeping solver's pidfd, same time",
          Fixed(100 * cpu / wall, 3) + " % (" + Fixed(cpu * 1000, 1) + " ms CPU in " +
              Fixed(wall, 2) + " s; " + std::to_string(slices) + " slices)",
          "-", "info"};
}

Row IdleCost(CheckerFolder& b) {
  b.task("%standin sleep 5000\r\n<Protokoll>\r\n");
  b.load();
  // Timer1 fires every 500 ms as a real toolkit would fire it.
  auto lastTick = Steady::now();
  b.toolkit.onEveryPump([&](int) {
    if (Steady::now() - lastTick >= std::chrono::milliseconds(500)) {
      lastTick = Steady::now();
      b.toolkit.tick();
    }
  });
  const int pumpsBefore = b.toolkit.pumps();
  const double cpuBefore = CpuSeconds();
  const auto start = Steady::now();
  RunExpecting(b, kPassed);
  const double wall = Milliseconds(Steady::now() - start) / 1000;
  const double cpu = CpuSeconds() - cpuBefore;
  b.toolkit.onEveryPump(nullptr);
  const int pumps = b.toolkit.pumps() - pumpsBefore;
  const double percent = 100 * cpu / wall;
  const double sliceMs = 1000 * wall / pumps;
  return {"Idle cost: CPU of the checker while the solver sleeps 5 s (one core = 100 %)",
          Fixed(percent, 3) + " % (" + Fixed(cpu * 1000, 1) + " ms CPU in " + Fixed(wall, 2) +
              " s; " + std::to_string(pumps) + " slices, " + Fixed(sliceMs, 2) + " ms each)",
          "< 1 %, 10 ms slices", Verdict(percent < 1 && sliceMs >= 10 && sliceMs < 11)};
}

std::vector<Row> NoticingTheEnd(CheckerFolder& b, double scale) {
  b.task("<Protokoll>\r\n");
  b.load();
  // Random run lengths, so that ends fall anywhere in a slice.
  std::mt19937 random(42);
  std::uniform_int_distribution<int> sleepMs(15, 45);
  std::vector<double> late;
  for (int i = 0; i < Scaled(200, scale); ++i) {
    b.task("%standin sleep " + std::to_string(sleepMs(random)) + "\r\n<Protokoll>\r\n");
    std::unique_ptr<ExitWatch> watch;
    b.toolkit.atNextPump([&] { watch = std::make_unique<ExitWatch>(b.window->Solver->processId()); });
    RunExpecting(b, kPassed);
    const auto judged = Steady::now();
    if (!watch) throw std::runtime_error("the solver ended before the first slice");
    late.push_back(Milliseconds(judged - watch->ended()));
  }
  const double p99 = Percentile(late, 99);
  return {{"Noticing the end: solver's exit (pidfd readable) to run judged, p50 (" +
               std::to_string(late.size()) + " runs)",
           Fixed(Percentile(late, 50), 3) + " ms", "-", "info"},
          {"Noticing the end: p99 / max",
           Fixed(p99, 3) + " ms / " + Fixed(Percentile(late, 100), 3) + " ms (" +
               Fixed(10 - p99, 2) + " ms under the goal)",
           "p99 < 10 ms", Verdict(p99 < 10)}};
}

std::vector<Row> StopAndClose(CheckerFolder& b, double scale) {
  b.task("%standin sleep 60000\r\n<Protokoll>\r\n");
  const auto [stop, close] = TimeStopAndClose<ExitWatch>(
      b.toolkit, Scaled(100, scale), [&]() -> frmKalmorChecker& { return b.load(); },
      [&](frmKalmorChecker&, bool closing) { RunExpecting(b, closing ? "" : kAborted); });
  const double stopP99 = Percentile(stop, 99);
  const double closeP99 = Percentile(close, 99);
  const std::string runs = " (" + std::to_string(stop.size()) + " runs)";
  return {{"Stop: press to solver gone, p50 / p99" + runs,
           Fixed(Percentile(stop, 50), 3) + " ms / " + Fixed(stopP99, 3) + " ms", "p99 < 20 ms",
           Verdict(stopP99 < 20)},
          {"Close: close box to solver gone, p50 / p99" + runs,
           Fixed(Percentile(close, 50), 3) + " ms / " + Fixed(closeP99, 3) + " ms", "p99 < 20 ms",
           Verdict(closeP99 < 20)}};
}

// A 48 MiB task of 48-byte lines with a marker every 1,000 lines, from the
// page cache, pressed 5 times with nothing left to write back before each
// press: the median speed of the checker's copy into TMP_INPUT.INP (press to
// solver started), the longest time the window went without pumping its
// events meanwhile, and how much the peak memory grew.
std::vector<Row> HugeTask(CheckerFolder& b) {
  constexpr std::size_t kLines = std::size_t{1} << 20;
  const std::string line = "Stipulation #3 wKa1 Qb2 Rc3 Bd4 Se5 bKh8 Pa7b6\r\n";
  std::string task;
  task.reserve(kLines * line.size());
  for (std::size_t i = 0; i < kLines; ++i) task += i % 1000 == 0 ? "<Protokoll>\r\n" : line;
  b.task(task);
  const double mib = static_cast<double>(task.size()) / (1 << 20);
  task = Slurp(b.folder / "test_#3.INP");  // in the page cache now
  task = std::string();
  frmKalmorChecker& f = b.load();
  Steady::time_point started{};
  Steady::time_point lastPump{};
  double longestGapMs = 0;
  b.toolkit.onEveryPump([&](int) {
    const auto now = Steady::now();
    if (started != Steady::time_point{}) return;
    longestGapMs = std::max(longestGapMs, Milliseconds(now - lastPump));
    lastPump = now;
    if (f.SolverRunning) started = now;
  });
  std::vector<double> speeds;
  ResetPeakResident();
  const long peakBefore = PeakResidentKiB();
  for (int press = 0; press < 5; ++press) {
    ::sync();
    started = {};
    const auto pressed = lastPump = Steady::now();
    RunExpecting(b, kPassed);
    speeds.push_back(mib / (Milliseconds(started - pressed) / 1000));
  }
  b.toolkit.onEveryPump(nullptr);
  const long grew = PeakResidentKiB() - peakBefore;
  const double speed = Percentile(speeds, 50);
  const std::string what = Fixed(mib, 0) + " MiB task (48-byte lines, page cache), 5 presses: ";
  return {{what + "copy with rewrite, press to solver started, median / slowest",
           Fixed(speed, 0) + " / " + Fixed(*std::min_element(speeds.begin(), speeds.end()), 0) +
               " MiB/s", "median >= 500 MiB/s", Verdict(speed >= 500)},
          {what + "longest time without an event pump; peak memory growth",
           Fixed(longestGapMs, 1) + " ms; +" + std::to_string(grew) + " KiB",
           "< 100 ms; < 16 MiB", Verdict(longestGapMs < 100 && grew < 16 * 1024)}};
}

std::vector<Row> Soak(CheckerFolder& b, double scale) {
  b.task("<Protokoll>\r\n");
  b.load();
  const int self = static_cast<int>(::getpid());
  // After one run, so that what a first run sets up once is in the baseline.
  RunExpecting(b, kPassed);
  const int fdsBefore = OpenDescriptors();
  const long rssBefore = census::ResidentKiB();
  const std::size_t repaintsBefore = b.toolkit.repaints().size();
  const std::size_t childrenBefore = census::ChildrenOf(self).size();
  const int runs = Scaled(1000, scale);
  for (int i = 0; i < runs; ++i) RunExpecting(b, kPassed);
  const int fdsAfter = OpenDescriptors();
  const long rssAfter = census::ResidentKiB();
  int zombies = 0;
  const std::vector<int> children = census::ChildrenOf(self);
  for (const int child : children) zombies += census::ProcessState(child) == 'Z' ? 1 : 0;
  const std::string n = std::to_string(runs);
  return {{"Soak, " + n + " runs in one window: open descriptors before / after",
           std::to_string(fdsBefore) + " / " + std::to_string(fdsAfter), "no growth",
           Verdict(fdsAfter <= fdsBefore)},
          {"Soak: resident memory before / after",
           std::to_string(rssBefore) + " KiB / " + std::to_string(rssAfter) + " KiB (" +
               (rssAfter >= rssBefore ? "+" : "") + std::to_string(rssAfter - rssBefore) +
               " KiB; the headless front-end keeps " +
               std::to_string(b.toolkit.repaints().size() - repaintsBefore) +
               " more repaint records)",
           "no growth (< 1 MiB)", Verdict(rssAfter - rssBefore < 1024)},
          {"Soak: child processes before / after (zombies after)",
           std::to_string(childrenBefore) + " / " + std::to_string(children.size()) + " (" +
               std::to_string(zombies) + ")",
           "none left, no zombie", Verdict(children.empty() && zombies == 0)}};
}

// Launch of a program that loads the window headless, to its start-up done.
std::vector<Row> StartUp(CheckerFolder& b, const std::string& probe, double scale) {
  b.task("<Protokoll>\r\n");
  std::vector<double> done;
  std::vector<double> resident;
  for (int i = 0; i < Scaled(30, scale); ++i) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    ::posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::string program = probe;
    std::string folder = b.folder.string();
    char* argv[] = {program.data(), folder.data(), nullptr};
    timespec launched{};
    ::clock_gettime(CLOCK_MONOTONIC, &launched);
    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, probe.c_str(), &actions, nullptr, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (rc != 0) throw std::runtime_error("cannot start " + probe);
    char line[128] = {};
    const ssize_t got = ::read(pipeFds[0], line, sizeof line - 1);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    long long doneNs = 0;
    long kib = 0;
    if (got <= 0 || std::sscanf(line, "%lld %ld", &doneNs, &kib) != 2) {
      throw std::runtime_error("the start-up probe said nothing");
    }
    const long long launchedNs =
        static_cast<long long>(launched.tv_sec) * 1000000000LL + launched.tv_nsec;
    done.push_back(static_cast<double>(doneNs - launchedNs) / 1e6);
    resident.push_back(static_cast<double>(kib));
  }
  const std::string runs = " (" + std::to_string(done.size()) + " runs)";
  return {{"Start-up, headless front-end: launch to start-up done, p50 / p99" + runs,
           Fixed(Percentile(done, 50), 2) + " ms / " + Fixed(Percentile(done, 99), 2) + " ms", "-",
           "info"},
          {"Start-up, headless front-end: resident memory after start-up, median",
           Fixed(Percentile(resident, 50), 0) + " KiB", "-", "info"}};
}

}  // namespace
}  // namespace kalmor::bench

int main(int argc, char** argv) {
  using namespace kalmor::bench;
  using kalmor::CheckerFolder;
  namespace fs = std::filesystem;
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: kalmor_bench <stand-in solver> <startup_probe> [runs scale] "
                 "[kalmor-check spawn_probe]\n");
    return 2;
  }
  const std::string standin = argv[1];
  const std::string probe = argv[2];
  const double scale = argc > 3 ? std::atof(argv[3]) : 1.0;
  try {
    // Every figure starts with nothing left for the disk to write back: the
    // journal work behind a huge write slows every later file operation.
    ::sync();
    if (argc > 5 && std::getenv("BENCH_ONLY") != nullptr) {
      CheckerFolder b(standin, "bench");
      for (const Row& row : CheckProgram(b, argv[4], argv[5], scale)) PrintRow(row);
      return 0;
    }
    { CheckerFolder b(standin, "bench"); PrintRow(RunOverhead(b, scale, "disk (/tmp)")); }
    // The same in memory: what the checker adds without the file system's journal.
    if (fs::is_directory("/dev/shm")) {
      CheckerFolder b(standin, "bench", "/dev/shm");
      PrintRow(RunOverhead(b, scale, "tmpfs (/dev/shm)"));
    }
    { CheckerFolder b(standin, "bench"); PrintRow(IdleCost(b)); }
    { CheckerFolder b(standin, "bench"); PrintRow(BareSliceCost(b)); }
    { CheckerFolder b(standin, "bench"); for (const Row& row : NoticingTheEnd(b, scale)) PrintRow(row); }
    { CheckerFolder b(standin, "bench"); for (const Row& row : StopAndClose(b, scale)) PrintRow(row); }
    { CheckerFolder b(standin, "bench"); for (const Row& row : Soak(b, scale)) PrintRow(row); }
    { CheckerFolder b(standin, "bench"); for (const Row& row : StartUp(b, probe, scale)) PrintRow(row); }
    { CheckerFolder b(standin, "bench"); for (const Row& row : HugeTask(b)) PrintRow(row); }
    if (argc > 5) {
      CheckerFolder b(standin, "bench");
      for (const Row& row : CheckProgram(b, argv[4], argv[5], scale)) PrintRow(row);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kalmor_bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
