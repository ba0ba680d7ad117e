// Whole runs on the real POSIX platform with the stand-in solver: the wiring of
// files, processes and window, and what a broken folder, solver or input does.
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <optional>

#include "tests/faults/fault_fixture.h"
#include "tests/faults/process_census.h"
#include "tests/support/eventually.h"

namespace kalmor::faults {
namespace {

using namespace std::chrono_literals;
using testing::Eventually;

std::string Directive(const fs::path& folder) { return "Protokoll " + (folder / "KM.OUT").string(); }

using RealRun = FaultRun;

TEST_F(RealRun, PassRunsTheSolverHiddenWithTheRewrittenInputAndNothingOfOurs) {
  task("Stipulation #3\r\n<Protokoll>\r\n%standin sleep 300\r\nKd1 Qh5\r\n");
  auto& f = load();
  std::string solverFds;
  press([&](int pump) {
    if (pump != 3) return false;
    for (const auto& entry : fs::directory_iterator("/proc/" + std::to_string(f.uProc.processId) + "/fd")) {
      solverFds += entry.path().filename().string() + "->" + fs::read_symlink(entry.path()).string() + " ";
    }
    return false;
  });
  expectOutcome(Passed(outputFirstLine()));
  EXPECT_FALSE(outputFirstLine().empty());
  EXPECT_EQ(Slurp(folder / "TMP_INPUT.INP"),
            "Stipulation #3\r\n" + Directive(folder) + "\r\n%standin sleep 300\r\nKd1 Qh5\r\n");
  EXPECT_EQ(solverFds, "0->/dev/null 1->/dev/null 2->/dev/null ");
}

TEST_F(RealRun, RepeatedRunsLeaveNoDescriptorOrChildOfTheCheckerBehind) {
  task("<Protokoll>\r\n");
  load();
  press();  // the first run may open what stays open for good
  const int before = census::OpenDescriptors();
  for (int run = 0; run < 4; ++run) press();
  EXPECT_EQ(census::OpenDescriptors(), before) << "descriptors open after 4 more runs";
  EXPECT_TRUE(census::ChildrenOf(static_cast<int>(::getpid())).empty()) << "finished solvers are reaped";
}

TEST_F(RealRun, OutcomeFollowsTheOutputFileNotTheExitCode) {
  for (const auto& [directives, passes] : {std::pair{"%standin exit 3\r\n", true}, {"%standin crash\r\n", true},
                                           {"%standin crash\r\n%standin nowrite\r\n", false}}) {
    SCOPED_TRACE(directives);
    task(std::string(directives) + "<Protokoll>\r\n");
    load();
    press();
    expectOutcome(passes ? Passed(outputFirstLine()) : Failed());
  }
}

TEST_F(RealRun, BrokenRunFilesShowTheSystemErrorAndChangeNoOtherFile) {
  struct Case {
    const char* what;
    std::function<void(const fs::path& dir)> make;
    std::optional<Outcome> outcome;  // none: the run passes
    bool solverLogs;                 // the solver ran and wrote its calls log
  };
  const fs::path outside = base / "outside.INP";
  const fs::path nowhere = base / "nowhere";
  const Outcome sameFile{"Bereit", "Die Aufgabe und TMP_INPUT.INP sind dieselbe Datei; der Test startet nicht.",
                         kRed, "&Start"};
  const Case cases[] = {
      {"input is a folder", [](const fs::path& dir) { fs::create_directories(dir / "TMP_INPUT.INP/inside"); },
       SystemError(EISDIR, "Is a directory"), false},
      // Opened for writing without a reader, a pipe would block for ever.
      {"input is a named pipe", [](const fs::path& dir) { ::mkfifo((dir / "TMP_INPUT.INP").c_str(), 0644); },
       SystemError(ENXIO, "No such device or address"), false},
      // Written through, a link would overwrite a file outside the folder.
      {"input is a symbolic link out of the folder",
       [&](const fs::path& dir) { fs::create_symlink(outside, dir / "TMP_INPUT.INP"); },
       SystemError(ELOOP, "Too many levels of symbolic links"), false},
      {"input is a hard link out of the folder",
       [&](const fs::path& dir) { fs::create_hard_link(outside, dir / "TMP_INPUT.INP"); },
       SystemError(EMLINK, "Too many links"), false},
      {"input is a character device",
       [](const fs::path& dir) { ::mknod((dir / "TMP_INPUT.INP").c_str(), S_IFCHR | 0666, ::makedev(1, 3)); },
       Failed(), true},  // written to, the solver reads nothing
      {"KM.OUT is a folder, not ours to delete",
       [](const fs::path& dir) { fs::create_directories(dir / "KM.OUT/inside"); }, Failed(), true},
      // An old KM.OUT that is a link goes as a link: the solver must not write through it.
      {"KM.OUT links out of the folder", [&](const fs::path& dir) { fs::create_symlink(outside, dir / "KM.OUT"); },
       std::nullopt, true},
      {"KM.OUT is a dangling link", [&](const fs::path& dir) { fs::create_symlink(nowhere, dir / "KM.OUT"); },
       std::nullopt, true},
      // Copied into itself, the task would be emptied, or grow without end.
      {"input links to the task",
       [](const fs::path& dir) { fs::create_symlink("test_#3.INP", dir / "TMP_INPUT.INP"); }, sameFile, false},
      {"task links to the input",
       [](const fs::path& dir) {
         fs::rename(dir / "test_#3.INP", dir / "TMP_INPUT.INP");
         fs::create_symlink("TMP_INPUT.INP", dir / "test_#3.INP");
       },
       sameFile, false},
      {"task and input one file",
       [](const fs::path& dir) { fs::create_hard_link(dir / "test_#3.INP", dir / "TMP_INPUT.INP"); }, sameFile, false},
      {"solver is not executable",
       [](const fs::path& dir) { fs::permissions(dir / "kmwin64.exe", fs::perms::owner_read); },
       SystemError(EACCES, "Permission denied"), false},
      {"solver is a text file", [](const fs::path& dir) { Spit(dir / "kmwin64.exe", "no program\r\n"); },
       SystemError(ENOEXEC, "Exec format error"), false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    makeFolder("case" + std::to_string(++n));
    task("Stipulation #3\r\n<Protokoll>\r\n");
    Spit(outside, "keep");
    load();
    c.make(folder);
    const Snapshot before = TakeSnapshot(folder);
    press();
    expectOutcome(c.outcome ? *c.outcome : Passed(outputFirstLine()));
    EXPECT_EQ(solverRan(), c.solverLogs);
    EXPECT_EQ(Slurp(folder / "test_#3.INP"), "Stipulation #3\r\n<Protokoll>\r\n");
    EXPECT_EQ(Slurp(outside), "keep");
    EXPECT_FALSE(fs::exists(nowhere));
    expectOnlyRunFilesChanged(before);
  }
}

TEST_F(RealRun, StopEndsASolverThatRunsForHoursAndIgnoresPoliteSignals) {
  // Dispositions set to ignore survive exec, so the solver ignores these too.
  constexpr std::array kPolite = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1};
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  std::array<struct sigaction, kPolite.size()> saved{};
  for (std::size_t i = 0; i < kPolite.size(); ++i) ::sigaction(kPolite[i], &ignore, &saved[i]);
  task("%standin sleep 36000000\r\n<Protokoll>\r\n");
  auto& f = load();
  int pid = 0;
  press([&](int pump) { return pump == 20 && (pid = static_cast<int>(f.uProc.processId)) != 0; });
  for (std::size_t i = 0; i < kPolite.size(); ++i) ::sigaction(kPolite[i], &saved[i], nullptr);
  expectOutcome(Aborted());
  ASSERT_NE(pid, 0);
  EXPECT_EQ(census::ProcessState(pid), '\0') << "the solver must be gone when the press returns";
}

TEST_F(RealRun, SolversOwnChildOutlivesARunButNotAStop) {
  // A child left by a stopped solver could write KM.OUT into the next run.
  for (const bool stop : {false, true}) {
    SCOPED_TRACE(stop ? "solver stopped" : "solver ends by itself");
    const fs::path childLog = folder / "standin_child.log";
    fs::remove(childLog);
    task(std::string("%standin child 300\r\n") + (stop ? "%standin sleep 36000000\r\n" : "") + "<Protokoll>\r\n");
    load();
    const auto childRunning = [&] { return !census::ProcessesMentioning(childLog.string()).empty(); };
    press([&](int) { return stop && childRunning(); });
    expectOutcome(stop ? Aborted() : Passed(outputFirstLine()));
    if (stop) {
      EXPECT_TRUE(Eventually(5s, [&] { return !childRunning(); })) << "the stopped solver's child must end with it";
      EXPECT_FALSE(Eventually(1s, [&] { return fs::exists(childLog); }));
      continue;
    }
    // Within an exec a process shows an empty command line for a moment: look a few times.
    EXPECT_TRUE(Eventually(200ms, childRunning)) << "the run is over while the solver's child still runs";
    EXPECT_TRUE(Eventually(10s, [&] { return Slurp(childLog) == "child slept 300 ms\n"; }))
        << "the child must finish its work, not be killed";
    ASSERT_TRUE(Eventually(5s, [&] { return !childRunning(); }));
  }
}

TEST_F(RealRun, ClosingMidRunEndsTheSolverAndJudgesNothing) {
  task("%standin sleep 36000000\r\n<Protokoll>\r\n");
  auto& f = load();
  int pid = 0;
  EXPECT_THROW(press([&](int pump) {
                 if (pump != 20) return false;
                 pid = static_cast<int>(f.uProc.processId);
                 toolkit.closeBox();
                 return false;
               }),
               ProgramEnded);
  ASSERT_NE(pid, 0);
  // Killed, not waited for: it dies in moments and the end of the program reaps it.
  EXPECT_TRUE(Eventually(5s, [&] { return census::ProcessState(pid) == 'Z'; }));
  EXPECT_EQ(f.lblStatus.caption(), "Prüfung läuft...");  // nothing after the close ran
  window.reset();
  platform.reset();
  EXPECT_EQ(census::ProcessState(pid), '\0');
}

TEST_F(RealRun, HugeTaskIsCopiedWholeOverALongerOldInput) {
  using namespace std::string_literals;
  // 8 MiB: one line of zero bytes after the marker, as a hole in a sparse file.
  constexpr std::uintmax_t kHuge = 8 << 20;
  const std::string head = "Stipulation #3\r\n<Protokoll>\r\n";
  task(head);
  fs::resize_file(folder / "test_#3.INP", kHuge);
  Spit(folder / "TMP_INPUT.INP", std::string(kHuge + 300, 'z'));  // an old, longer input leaves no tail
  load();
  press();
  expectOutcome(Passed(outputFirstLine()));
  const std::string input = Slurp(folder / "TMP_INPUT.INP");
  const std::string newHead = "Stipulation #3\r\n" + Directive(folder) + "\r\n";
  ASSERT_EQ(input.size(), kHuge - head.size() + newHead.size() + 2);
  EXPECT_EQ(input.substr(0, newHead.size()), newHead);
  EXPECT_EQ(input.substr(input.size() - 3), "\0\r\n"s);
}

TEST_F(RealRun, FolderNamesReachTheSolverInEveryCallingMode) {
  for (const char* name : {"latin1 \xfc\xe4 not UTF-8", "Prüf Ordner"}) {
    makeFolder(name);
    task("<Protokoll>\r\n");
    auto& f = load();
    for (int mode = 0; mode < 4; ++mode) {
      SCOPED_TRACE(std::string(name) + ", calling mode " + std::to_string(mode + 1));
      toolkit.choose(f.lstKalmorCallingMode, mode);
      press();
      expectOutcome(Passed(outputFirstLine()));
    }
  }
  // argv[0] is the solver's own path; the rest as a Windows program's runtime cuts it.
  const std::string program = "[" + (folder / "kmwin64.exe").string() + "]";
  const std::string quoted = "2 " + program + " [" + (folder / "TMP_INPUT.INP").string() + "]\n";
  const std::string split = "3 " + program + " [" + (base / "Prüf").string() + "] [Ordner/TMP_INPUT.INP]\n";
  EXPECT_EQ(Slurp(folder / "standin_calls.log"), quoted + quoted + split + split);
}

}  // namespace
}  // namespace kalmor::faults
