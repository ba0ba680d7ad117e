// Whole runs on the real POSIX platform with the stand-in solver: the wiring of
// files, processes and window, and what a broken folder, solver or input does.
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <fstream>

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
  EXPECT_EQ(Slurp(folder / "TMP_INPUT.INP"), "Stipulation #3\r\n" + Directive(folder) + "\r\n%standin sleep 300\r\nKd1 Qh5\r\n");
  EXPECT_EQ(solverFds.find("3->"), std::string::npos) << solverFds;
  for (const char* standard : {"0->/dev/null", "1->/dev/null", "2->/dev/null"}) {
    EXPECT_NE(solverFds.find(standard), std::string::npos) << solverFds;
  }
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
  for (const auto& [directives, passes] : {std::pair{"%standin nowrite\r\n", false}, {"%standin empty\r\n", true},
                                           {"%standin exit 3\r\n", true}, {"%standin crash\r\n", true},
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
    std::function<bool(FaultRun&, const fs::path& dir)> make;  // false: cannot be made here
    Outcome outcome;
    bool solverLogs;  // the solver ran and wrote its calls log
  };
  const auto immutable = [](const char* name) {
    return [name](FaultRun& t, const fs::path& dir) { return t.markImmutable(dir / name); };
  };
  const Case cases[] = {
      {"read-only folder", [&](FaultRun& t, const fs::path& dir) { return immutable(".")(t, dir); },
       SystemError(EPERM, "Operation not permitted"), false},
      {"read-only folder, old input file writable",
       [&](FaultRun& t, const fs::path& dir) { return Spit(dir / "TMP_INPUT.INP", "old"), immutable(".")(t, dir); },
       Failed(), false},  // the solver runs but can write nothing there, not even its log
      {"old KM.OUT cannot be deleted",
       [&](FaultRun& t, const fs::path& dir) { return Spit(dir / "KM.OUT", "old\r\n"), immutable("KM.OUT")(t, dir); },
       SystemError(EPERM, "Operation not permitted"), false},
      {"input is a folder",
       [](FaultRun&, const fs::path& dir) { return fs::create_directories(dir / "TMP_INPUT.INP/inside"); },
       SystemError(EISDIR, "Is a directory"), false},
      // Opened for writing without a reader, a pipe would block for ever.
      {"input is a named pipe",
       [](FaultRun&, const fs::path& dir) { return ::mkfifo((dir / "TMP_INPUT.INP").c_str(), 0644) == 0; },
       SystemError(ENXIO, "No such device or address"), false},
      // Written through, a link would overwrite a file outside the folder.
      {"input is a symbolic link out of the folder",
       [](FaultRun&, const fs::path& dir) {
         return Spit(dir.parent_path() / "outside.INP", "keep"), fs::create_symlink(dir.parent_path() / "outside.INP", dir / "TMP_INPUT.INP"), true;
       },
       SystemError(ELOOP, "Too many levels of symbolic links"), false},
      {"input is a hard link out of the folder",
       [](FaultRun&, const fs::path& dir) {
         return Spit(dir.parent_path() / "outside.INP", "keep"), fs::create_hard_link(dir.parent_path() / "outside.INP", dir / "TMP_INPUT.INP"), true;
       },
       SystemError(EMLINK, "Too many links"), false},
      {"input is a character device",
       [](FaultRun&, const fs::path& dir) {
         return ::mknod((dir / "TMP_INPUT.INP").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;
       },
       Failed(), true},  // written to, the solver reads nothing
      {"KM.OUT is a folder, not ours to delete",
       [](FaultRun&, const fs::path& dir) {
         fs::create_directory(dir / "KM.OUT");
         Spit(dir / "KM.OUT/solution.txt", "not ours");
         return true;
       },
       Failed(), true},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    makeFolder("case" + std::to_string(++n));
    task("Stipulation #3\r\n<Protokoll>\r\n");
    load();
    if (!c.make(*this, folder)) {
      std::printf("skipped \"%s\": %s\n", c.what, kImmutableSkip);
      continue;
    }
    const Snapshot before = TakeSnapshot(folder);
    press();
    expectOutcome(c.outcome);
    EXPECT_EQ(solverRan(), c.solverLogs);
    EXPECT_EQ(Slurp(folder / "test_#3.INP"), "Stipulation #3\r\n<Protokoll>\r\n");
    expectOnlyRunFilesChanged(before);
  }
}

TEST_F(RealRun, TaskFileGoneAfterStartUpEndsThePressSilently) {
  for (const bool asFolder : {false, true}) {
    task("<Protokoll>\r\n");
    auto& f = load();
    fs::remove(folder / "test_#3.INP");
    if (asFolder) fs::create_directory(folder / "test_#3.INP");
    press();
    EXPECT_EQ(f.lblStatus.caption(), "Bitte betätigen Sie den \"Starten\"-Button");
    EXPECT_EQ(f.cmdOK.caption(), "Starten");
    EXPECT_FALSE(fs::exists(folder / "TMP_INPUT.INP"));
    EXPECT_FALSE(solverRan());
    fs::remove(folder / "test_#3.INP");
  }
}

TEST_F(RealRun, SolverThatIsNoProgramShowsTheSystemError) {
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> make;
    int error;
    const char* text;
  };
  const Case cases[] = {
      {"missing", [](const fs::path&) {}, ENOENT, "No such file or directory"},
      {"a folder", [](const fs::path& p) { fs::create_directory(p); }, EACCES, "Permission denied"},
      {"not executable", [](const fs::path& p) { Spit(p, Slurp(KALMOR_STANDIN_SOLVER)), fs::permissions(p, fs::perms::owner_read); },
       EACCES, "Permission denied"},
      {"a text file", [](const fs::path& p) { Spit(p, "no program\r\n"), fs::permissions(p, fs::perms::owner_all); },
       ENOEXEC, "Exec format error"},
      {"an empty file", [](const fs::path& p) { Spit(p, ""), fs::permissions(p, fs::perms::owner_all); }, ENOEXEC,
       "Exec format error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    task("<Protokoll>\r\n");
    fs::remove_all(folder / "kmwin64.exe");
    c.make(folder / "kmwin64.exe");
    load();
    const Snapshot before = TakeSnapshot(folder);
    press();
    expectOutcome(SystemError(c.error, c.text));
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
  for (const bool byButton : {false, true}) {
    task("%standin sleep 36000000\r\n<Protokoll>\r\n");
    auto& f = load();
    int pid = 0;
    EXPECT_THROW(press([&](int pump) {
                   if (pump != 20) return false;
                   pid = static_cast<int>(f.uProc.processId);
                   byButton ? toolkit.click(f.cmdClose) : toolkit.closeBox();
                   return false;
                 }),
                 ProgramEnded);
    ASSERT_NE(pid, 0);
    // Killed, not waited for: it dies in moments and the end of the program reaps it.
    EXPECT_TRUE(Eventually(5s, [&] { return census::ProcessState(pid) == 'Z'; }));
    EXPECT_EQ(f.lblStatus.caption(), "Prüfung läuft...");  // nothing after the close ran
    EXPECT_EQ(f.cmdOK.caption(), "&Stop");
    window.reset();
    platform.reset();
    EXPECT_EQ(census::ProcessState(pid), '\0');
  }
}

TEST_F(RealRun, BinaryAndHugeTasksAreCopiedByteForByte) {
  using namespace std::string_literals;
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  task("<Protokoll>\r\nbin:"s + allBytes + "\0\0\r\nx<Protokoll>\0<Protokoll>\r\r\ntail\0"s);
  load();
  press();
  const std::string d = Directive(folder);
  // A lone CR (byte 13 here) ends a line and a lone LF (byte 10) does not.
  EXPECT_EQ(Slurp(folder / "TMP_INPUT.INP"), d + "\r\nbin:" + allBytes.substr(0, 13) + "\r\n" + allBytes.substr(14) +
                                                 "\0\0\r\nx"s + d + '\0' + d + "\r\n\r\ntail\0\r\n"s);
  expectOutcome(Passed(outputFirstLine()));

  // 8 MiB: one line of zero bytes after the marker, as a hole in a sparse file.
  constexpr std::uintmax_t kHuge = 8 << 20;
  const std::string head = "Stipulation #3\r\n<Protokoll>\r\n";
  task(head);
  fs::resize_file(folder / "test_#3.INP", kHuge);
  Spit(folder / "TMP_INPUT.INP", std::string(300, 'z'));  // an old, longer input leaves no tail
  load();
  press();
  expectOutcome(Passed(outputFirstLine()));
  const std::string input = Slurp(folder / "TMP_INPUT.INP");
  const std::string newHead = "Stipulation #3\r\n" + d + "\r\n";
  ASSERT_EQ(input.size(), kHuge - head.size() + newHead.size() + 2);
  EXPECT_EQ(input.substr(0, newHead.size()), newHead);
  EXPECT_EQ(input.substr(input.size() - 3), "\0\r\n"s);
}

TEST_F(RealRun, HugeOutputWithoutLineEndShowsABoundedFirstLine) {
  task("%standin nowrite\r\n%standin sleep 300\r\n<Protokoll>\r\n");
  load();
  // As if the solver wrote it: 1 GiB, the first 8 KiB letters, the rest a hole.
  press([&](int pump) {
    if (pump == 2) Spit(folder / "KM.OUT", std::string(8192, 'x')), fs::resize_file(folder / "KM.OUT", 1ULL << 30);
    return false;
  });
  expectOutcome(Passed(std::string(4096, 'x')));
}

TEST_F(RealRun, FolderNamesReachTheSolverInEveryCallingMode) {
  struct Case {
    const char* folder;
    bool quotedPasses;  // calling modes 1 and 2
    bool plainPasses;   // modes 3 and 4: the bare path is split at blanks
  };
  const Case cases[] = {
      {"Prüf Ordner", true, true}, {"Ünïcødé 测试 🎲", true, true}, {"latin1 \xfc\xe4 not UTF-8", true, true},
      {"back\\slash\\", true, true},
      {"two  blanks", true, false},  // the solver rejoins split words with one blank
      {"say \"hi\"", false, false},   // Windows command-line rules eat the quotes
  };
  for (const Case& c : cases) {
    makeFolder(c.folder);
    task("<Protokoll>\r\n");
    auto& f = load();
    for (int mode = 0; mode < 4; ++mode) {
      SCOPED_TRACE(std::string(c.folder) + ", calling mode " + std::to_string(mode + 1));
      toolkit.choose(f.lstKalmorCallingMode, mode);
      press();
      expectOutcome((mode < 2 ? c.quotedPasses : c.plainPasses) ? Passed(outputFirstLine()) : Failed());
      EXPECT_EQ(Slurp(folder / "TMP_INPUT.INP"), Directive(folder) + "\r\n");
    }
  }
  // argv[0] is the solver's own path; the rest as a Windows program's runtime cuts it.
  const fs::path blanks = base / "Prüf Ordner";
  const std::string program = "[" + (blanks / "kmwin64.exe").string() + "]";
  const std::string quoted = "2 " + program + " [" + (blanks / "TMP_INPUT.INP").string() + "]\n";
  const std::string split = "3 " + program + " [" + (base / "Prüf").string() + "] [Ordner/TMP_INPUT.INP]\n";
  EXPECT_EQ(Slurp(blanks / "standin_calls.log"), quoted + quoted + split + split);
}

}  // namespace
}  // namespace kalmor::faults
