// Faults of the folder and of the solver: what the window shows, and that the
// run neither hangs nor leaves processes or changed files behind.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <functional>

#include "tests/faults/fault_fixture.h"
#include "tests/faults/process_census.h"

namespace kalmor::faults {
namespace {

constexpr const char* kImmutableSkip =
    "the immutable attribute is refused here (file system or privileges); as root, "
    "permission bits do not stop writes, so a read-only folder cannot be made";

std::string FirstLineOf(const fs::path& file) {
  const std::string text = Slurp(file);
  return text.substr(0, text.find('\r'));
}

using FolderFaults = FaultRun;

TEST_F(FolderFaults, ReadOnlyFolderShowsWhyTheRunCannotStart) {
  task("<Protokoll>\r\n");
  auto& f = load();
  const Snapshot before = TakeSnapshot(folder);
  if (!markImmutable(folder)) GTEST_SKIP() << kImmutableSkip;
  press();
  expectOutcome(SystemError(EPERM, "Operation not permitted"));
  EXPECT_EQ(f.uProc.processId, 0u) << "no solver may start without its input";
  expectOnlyRunFilesChanged(before);
}

TEST_F(FolderFaults, ReadOnlyFolderWithAnOldInputFileFailsTheRun) {
  // TMP_INPUT.INP itself stays writable, KM.OUT cannot be created.
  task("<Protokoll>\r\n");
  Spit(folder / "TMP_INPUT.INP", "old");
  load();
  const Snapshot before = TakeSnapshot(folder);
  if (!markImmutable(folder)) GTEST_SKIP() << kImmutableSkip;
  press();
  expectOutcome(Failed());
  EXPECT_EQ(Slurp(folder / "TMP_INPUT.INP"),
            "Protokoll " + (folder / "KM.OUT").string() + "\r\n");
  expectOnlyRunFilesChanged(before);
}

TEST_F(FolderFaults, OldResultThatCannotBeDeletedStopsTheRunBeforeItStarts) {
  // A surviving KM.OUT would make a failing solver pass.
  task("%standin nowrite\r\n<Protokoll>\r\n");
  Spit(folder / "KM.OUT", "old result\r\n");
  auto& f = load();
  const Snapshot before = TakeSnapshot(folder);
  if (!markImmutable(folder / "KM.OUT")) GTEST_SKIP() << kImmutableSkip;
  press();
  expectOutcome(SystemError(EPERM, "Operation not permitted"));
  EXPECT_EQ(f.uProc.processId, 0u);
  EXPECT_FALSE(fs::exists(folder / "TMP_INPUT.INP"));
  expectOnlyRunFilesChanged(before);
}

TEST_F(FolderFaults, InputFileThatIsNoPlainFileOfItsOwnShowsTheSystemError) {
  struct Case {
    const char* what;
    void (*make)(const fs::path& taskFile, const fs::path& input);
    int error;
    const char* text;
  };
  const Case cases[] = {
      {"a folder",
       [](const fs::path&, const fs::path& input) {
         fs::create_directories(input / "inside");
         Spit(input / "inside/keep.txt", "keep");
       },
       EISDIR, "Is a directory"},
      // Opened for writing without a reader, a pipe would block for ever.
      {"a named pipe",
       [](const fs::path&, const fs::path& input) { ASSERT_EQ(::mkfifo(input.c_str(), 0644), 0); },
       ENXIO, "No such device or address"},
      // Written through, a link would overwrite a file outside the folder.
      {"a symbolic link out of the folder",
       [](const fs::path&, const fs::path& input) {
         Spit(input.parent_path().parent_path() / "outside.INP", "keep");
         fs::create_symlink(input.parent_path().parent_path() / "outside.INP", input);
       },
       ELOOP, "Too many levels of symbolic links"},
      {"a hard link out of the folder",
       [](const fs::path&, const fs::path& input) {
         Spit(input.parent_path().parent_path() / "outside.INP", "keep");
         fs::create_hard_link(input.parent_path().parent_path() / "outside.INP", input);
       },
       EMLINK, "Too many links"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    task("Stipulation #3\r\n<Protokoll>\r\n");
    fs::remove_all(folder / "TMP_INPUT.INP");
    c.make(folder / "test_#3.INP", folder / "TMP_INPUT.INP");
    auto& f = load();
    const Snapshot before = TakeSnapshot(folder);
    press();
    expectOutcome(SystemError(c.error, c.text));
    EXPECT_EQ(f.uProc.processId, 0u) << "no solver may start without its input";
    EXPECT_EQ(Slurp(folder / "test_#3.INP"), "Stipulation #3\r\n<Protokoll>\r\n");
    expectOnlyRunFilesChanged(before);
  }
}

TEST_F(FolderFaults, OutputThatIsAFolderIsNoResult) {
  // Not deleted (it is no file of ours), not judged as written.
  task("<Protokoll>\r\n");
  fs::create_directories(folder / "KM.OUT");
  Spit(folder / "KM.OUT/solution.txt", "not ours");
  load();
  const Snapshot before = TakeSnapshot(folder);
  press();
  expectOutcome(Failed());
  expectOnlyRunFilesChanged(before);
}

TEST_F(FolderFaults, TaskFileGoneAfterStartUpEndsThePressSilently) {
  for (const bool asFolder : {false, true}) {
    SCOPED_TRACE(asFolder ? "replaced by a folder" : "deleted");
    task("<Protokoll>\r\n");
    auto& f = load();
    const std::string status = f.lblStatus.caption();
    const std::string button = f.cmdOK.caption();
    fs::remove(folder / "test_#3.INP");
    if (asFolder) fs::create_directory(folder / "test_#3.INP");
    const Snapshot before = TakeSnapshot(folder);
    press();
    EXPECT_EQ(f.lblStatus.caption(), status);
    EXPECT_EQ(f.cmdOK.caption(), button);
    EXPECT_EQ(f.uProc.processId, 0u);
    EXPECT_FALSE(fs::exists(folder / "TMP_INPUT.INP"));
    expectOnlyRunFilesChanged(before);
    fs::remove(folder / "test_#3.INP");
  }
}

using SolverFaults = FaultRun;

TEST_F(SolverFaults, SolverThatIsNoProgramShowsTheSystemError) {
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> make;
    int error;
    const char* text;
  };
  const Case cases[] = {
      {"a folder", [](const fs::path& p) { fs::create_directory(p); }, EACCES, "Permission denied"},
      {"not executable",
       [](const fs::path& p) {
         fs::copy_file(KALMOR_STANDIN_SOLVER, p);
         fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write);
       },
       EACCES, "Permission denied"},
      {"a text file",
       [](const fs::path& p) {
         Spit(p, "Kalmor 64-Bit\r\nthis is no program\r\n");
         fs::permissions(p, fs::perms::owner_all);
       },
       ENOEXEC, "Exec format error"},
      {"an empty file",
       [](const fs::path& p) {
         Spit(p, "");
         fs::permissions(p, fs::perms::owner_all);
       },
       ENOEXEC, "Exec format error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    task("<Protokoll>\r\n");
    fs::remove_all(folder / "kmwin64.exe");
    c.make(folder / "kmwin64.exe");
    auto& f = load();
    const Snapshot before = TakeSnapshot(folder);
    press();
    expectOutcome(SystemError(c.error, c.text));
    EXPECT_TRUE(f.StartFailed);
    expectOnlyRunFilesChanged(before);
  }
}

TEST_F(SolverFaults, CrashJudgedByItsOutputAlone) {
  struct Case {
    const char* directives;
    bool passes;
  };
  for (const Case& c : {Case{"%standin crash\r\n", true},
                        Case{"%standin crash\r\n%standin nowrite\r\n", false}}) {
    SCOPED_TRACE(c.directives);
    task(std::string(c.directives) + "<Protokoll>\r\n");
    load();
    const Snapshot before = TakeSnapshot(folder);
    press();
    expectOutcome(c.passes ? Passed(FirstLineOf(folder / "KM.OUT")) : Failed());
    expectOnlyRunFilesChanged(before);
  }
}

TEST_F(SolverFaults, StopEndsASolverThatRunsForHoursAndIgnoresPoliteSignals) {
  // Dispositions set to ignore survive exec, so the solver ignores these too.
  constexpr std::array kPolite = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1};
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  std::array<struct sigaction, kPolite.size()> saved{};
  for (std::size_t i = 0; i < kPolite.size(); ++i) ::sigaction(kPolite[i], &ignore, &saved[i]);

  task("%standin sleep 36000000\r\n<Protokoll>\r\n");
  auto& f = load();
  const Snapshot before = TakeSnapshot(folder);
  int pid = 0;
  std::string ignored;
  afterPumps(20, [&] {
    pid = static_cast<int>(f.uProc.processId);
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("SigIgn:", 0) == 0) ignored = line;
    }
    toolkit.click(f.cmdOK);
  });
  press();
  for (std::size_t i = 0; i < kPolite.size(); ++i) ::sigaction(kPolite[i], &saved[i], nullptr);

  ASSERT_FALSE(ignored.empty());
  const unsigned long long mask = std::stoull(ignored.substr(7), nullptr, 16);
  for (const int signal : kPolite) {
    EXPECT_NE(mask & (1ULL << (signal - 1)), 0u) << "the solver does not ignore signal " << signal;
  }
  expectOutcome(Aborted());
  ASSERT_NE(pid, 0);
  EXPECT_EQ(census::ProcessState(pid), '\0') << "the solver must be gone";
  expectOnlyRunFilesChanged(before);
}

TEST_F(SolverFaults, SolversOwnChildOutlivesARunButNotAStop) {
  // A child left by a stopped solver could write KM.OUT into the next run.
  struct Case {
    const char* name;
    const char* directives;
    bool stop;
    Outcome (*outcome)(const fs::path& dir);
  };
  const Case cases[] = {
      {"solver ends by itself", "%standin child 1500\r\n",
       false, [](const fs::path& dir) { return Passed(FirstLineOf(dir / "KM.OUT")); }},
      {"solver stopped", "%standin child 1500\r\n%standin sleep 36000000\r\n",
       true, [](const fs::path&) { return Aborted(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string childLog = (folder / "standin_child.log").string();
    fs::remove(childLog);
    task(std::string(c.directives) + "<Protokoll>\r\n");
    load();
    const Snapshot before = TakeSnapshot(folder);
    const auto childRunning = [&] { return !census::ProcessesMentioning(childLog).empty(); };
    if (c.stop) stopWhen(childRunning);
    press();
    expectOutcome(c.outcome(folder));
    if (c.stop) {
      EXPECT_TRUE(Eventually(std::chrono::seconds(5), [&] { return !childRunning(); }))
          << "the stopped solver's child must end with it";
      EXPECT_FALSE(Eventually(std::chrono::seconds(2), [&] { return fs::exists(childLog); }));
    } else {
      // Within an exec a process shows an empty command line for a moment: look a few times.
      EXPECT_TRUE(Eventually(std::chrono::milliseconds(500), childRunning))
          << "the solver's child should still be running";
      EXPECT_TRUE(Eventually(std::chrono::seconds(20), [&] {
        return Slurp(childLog) == "child slept 1500 ms\n";
      })) << "the child must finish its work, not be killed";
      ASSERT_TRUE(Eventually(std::chrono::seconds(5), [&] { return !childRunning(); }));
    }
    expectOnlyRunFilesChanged(before);
  }
}

TEST_F(SolverFaults, ClosingMidRunEndsTheSolverAndJudgesNothing) {
  for (const bool byButton : {false, true}) {
    SCOPED_TRACE(byButton ? "Close button" : "close box");
    task("%standin sleep 36000000\r\n<Protokoll>\r\n");
    auto& f = load();
    const Snapshot before = TakeSnapshot(folder);
    int pid = 0;
    afterPumps(20, [&] {
      pid = static_cast<int>(f.uProc.processId);
      if (byButton) {
        toolkit.click(f.cmdClose);
      } else {
        toolkit.closeBox();
      }
    });
    EXPECT_THROW(toolkit.click(f.cmdOK), ProgramEnded);
    ASSERT_NE(pid, 0);
    // Killed, not waited for: it dies in moments and the end of the program reaps it.
    const auto dead = [&] { return census::ProcessState(pid) == 'Z'; };
    EXPECT_TRUE(Eventually(std::chrono::seconds(5), dead)) << "state " << census::ProcessState(pid);
    // Nothing after the close ran: the window still shows the running test.
    EXPECT_EQ(f.lblStatus.caption(), "Prüfung läuft...");
    EXPECT_EQ(f.lblResult.caption(), "Testvariante:\rKalmor 64-Bit, Kalmor-Aufrufmodus: 1");
    EXPECT_EQ(f.cmdOK.caption(), "&Stop");
    window.reset();
    platform.reset();  // what the end of the program does
    EXPECT_EQ(census::ProcessState(pid), '\0');
    expectOnlyRunFilesChanged(before);
  }
}

}  // namespace
}  // namespace kalmor::faults
