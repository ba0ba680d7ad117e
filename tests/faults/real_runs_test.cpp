// Whole runs on the real POSIX platform with the stand-in solver: the wiring of
// files, processes and window, and what a broken folder, solver or input does.
// Every press is bounded by a watchdog that works even while no events are
// pumped, leaves no process behind, and changes no file but TMP_INPUT.INP and
// KM.OUT (plus the stand-in's own logs).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <thread>

#include "tests/support/checker_folder.h"
#include "tests/support/eventually.h"

namespace kalmor {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::Eventually;

// What the window's status and result show once a press has been handled.
using Outcome = std::pair<std::string, std::string>;
const Outcome kFailed{"Test fehlgeschlagen!", "Lösungs-Datei wurde nicht erstellt:\rKM.OUT"};
const Outcome kAborted{"Test wurde abgebrochen", ""};
Outcome SystemError(int number, const std::string& text) {
  return {"Bereit", "Fehlernummer: " + std::to_string(number) + "\r" + text};
}

// Every entry below a folder but those a run may change (TMP_INPUT.INP,
// KM.OUT, the stand-in's logs): its type, link target and file content.
std::map<std::string, std::string> OtherFiles(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).string();
    if (name == "TMP_INPUT.INP" || name == "KM.OUT" || name.starts_with("standin_")) continue;
    const fs::file_status status = entry.symlink_status();
    std::string& described = files[name] = std::to_string(static_cast<int>(status.type()));
    if (fs::is_symlink(status)) described += " -> " + fs::read_symlink(entry).string();
    if (fs::is_regular_file(status)) described += " " + Slurp(entry);
  }
  return files;
}

void KillSolversBelow(const fs::path& base) {
  for (const int pid : ProcessesMentioning(base.string())) ::kill(pid, SIGKILL);
}

class RealRun : public ::testing::Test, public CheckerFolder {
 protected:
  RealRun() : CheckerFolder(KALMOR_STANDIN_SOLVER, "faults") {
    // A write that runs away (through a link into the task it reads, say)
    // fails at 2 GiB instead of filling the disk while the watchdog waits.
    const rlimit limit{2UL << 30, 2UL << 30};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_IGN);
  }

  void TearDown() override {
    EXPECT_TRUE(ProcessesMentioning(base.string()).empty()) << "a solver of this test still runs";
    KillSolversBelow(base);
    window.reset();
    platform.reset();  // reaps what the program's end would reap
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "a child is left behind";
  }

  // Presses Start, and Stop at the first pump (counted from 1 for this press)
  // where stopAt holds. After 10 s the press fails the test and its solvers
  // are killed, which ends any wait for them; a press that still does not
  // return 5 s later ends the test program.
  void press(std::function<bool(int pump)> stopAt = nullptr) {
    std::atomic<bool> fired = false;
    std::jthread watchdog([&](std::stop_token done) {
      for (int tick = 1; !done.stop_requested(); ++tick) {
        std::this_thread::sleep_for(10ms);
        if (tick == 1000) {
          fired = true;
          KillSolversBelow(base);
        }
        if (tick < 1500) continue;
        std::fprintf(stderr, "FAILED: the press is still busy with no solver left; ending\n");
        std::error_code ignored;
        fs::remove_all(base, ignored);
        std::_Exit(1);
      }
    });
    toolkit.onEveryPump([this, stopAt, before = toolkit.pumps()](int pump) {
      if (stopAt && window->RunInProgress && stopAt(pump - before)) toolkit.click(window->cmdOK);
    });
    toolkit.click(window->cmdOK);
    toolkit.onEveryPump(nullptr);
    watchdog.request_stop();
    watchdog.join();
    EXPECT_FALSE(fired) << "the run was still going 10 s after Start; its solver was killed";
  }

  void expectOutcome(const Outcome& expected) const {
    EXPECT_EQ(window->lblStatus.caption(), expected.first);
    EXPECT_EQ(window->lblResult.caption(), expected.second);
  }
  // What a passed run shows: the first line of the solver's KM.OUT below the caption.
  Outcome passed() const {
    const std::string output = Slurp(folder / "KM.OUT");
    const std::string firstLine = output.substr(0, output.find('\r'));
    return {"Test erfolgreich abgeschlossen!", "Lösungs-Datei erstellt: KM.OUT\r" + firstLine};
  }
};

TEST_F(RealRun, PassRunsTheSolverHiddenWithTheWholeTaskRewrittenOverALongerOldInput) {
  // A line longer than one read, so that the copy takes several reads and writes.
  const std::string body = "%standin sleep 300\r\n" + std::string(200'000, 'x') + "\r\nKd1 Qh5\r\n";
  task("Stipulation #3\r\n<Protokoll>\r\n" + body);
  Spit(folder / "TMP_INPUT.INP", std::string(300'000, 'z'));
  auto& f = load();
  // The fewest descriptors seen while it runs: the solver's own read of its
  // input comes and goes, one passed on by the checker would stay.
  std::string solverFds;
  std::size_t fewest = SIZE_MAX;
  press([&](int pump) {
    if (pump < 3) return false;
    std::string fds;
    std::size_t count = 0;
    std::error_code gone;
    for (const auto& entry :
         fs::directory_iterator("/proc/" + std::to_string(f.Solver ? f.Solver->processId() : 0) + "/fd", gone)) {
      fds += entry.path().filename().string() + "->" + fs::read_symlink(entry, gone).string() + " ";
      ++count;
    }
    if (!gone && count >= 3 && count < fewest) {  // an ended solver has none
      fewest = count;
      solverFds = fds;
    }
    return false;
  });
  expectOutcome(passed());
  const std::string directive = "Protokoll " + (folder / "KM.OUT").string();
  EXPECT_EQ(Slurp(folder / "TMP_INPUT.INP"), "Stipulation #3\r\n" + directive + "\r\n" + body);
  // 3 is the run lock: what the solver leaves running keeps the folder busy.
  EXPECT_EQ(solverFds, "0->/dev/null 1->/dev/null 2->/dev/null 3->" + (folder / "TMP_INPUT.INP").string() + " ");
}

TEST_F(RealRun, BrokenRunFilesShowTheSystemErrorAndChangeNoOtherFile) {
  const fs::path outside = base / "outside.INP";
  const Outcome sameFile{"Bereit", "Die Aufgabe und TMP_INPUT.INP sind dieselbe Datei; der Test startet nicht."};
  const Outcome inputIsLink{
      "Bereit", "TMP_INPUT.INP ist ein Link (symbolisch oder ein zweiter Name einer anderen Datei); der Test startet nicht."};
  const auto input = [&] { return folder / "TMP_INPUT.INP"; };
  const auto notAFile = [](const std::string& name) {
    return Outcome{"Bereit", name + " ist keine gewöhnliche Datei; der Test startet nicht."};
  };
  int pipeEnd = -1;
  // What is in the way, and what the run shows (none: it passes).
  const std::tuple<const char*, std::function<void()>, std::optional<Outcome>> cases[] = {
      // Refused before a byte is written: written to, a named pipe that another process holds
      // open blocks for ever, a device swallows the input, and the solver blocks on such a KM.OUT.
      {"input is a folder", [&] { fs::create_directories(input() / "inside"); }, notAFile("TMP_INPUT.INP")},
      {"input is a named pipe held open",
       [&] {
         ::mkfifo(input().c_str(), 0644);
         pipeEnd = ::open(input().c_str(), O_RDWR);
       },
       notAFile("TMP_INPUT.INP")},
      // Written through, a link would overwrite a file outside the folder.
      {"input links out", [&] { fs::create_symlink(outside, input()); }, inputIsLink},
      {"input is a hard link out", [&] { fs::create_hard_link(outside, input()); }, inputIsLink},
      // Copied into itself, the task would be emptied, or grow without end.
      {"input links to the task", [&] { fs::create_symlink("test_#3.INP", input()); }, sameFile},
      {"input is a character device", [&] { ::mknod(input().c_str(), S_IFCHR | 0666, ::makedev(1, 3)); },
       notAFile("TMP_INPUT.INP")},
      {"KM.OUT is a folder, not ours to delete", [&] { fs::create_directories(folder / "KM.OUT/inside"); },
       notAFile("KM.OUT")},
      {"KM.OUT is a named pipe", [&] { ::mkfifo((folder / "KM.OUT").c_str(), 0644); }, notAFile("KM.OUT")},
      // An old KM.OUT that is a link goes as a link, even when it leads nowhere: the solver
      // must not write through it.
      {"KM.OUT links nowhere", [&] { fs::create_symlink(base / "nowhere", folder / "KM.OUT"); }, std::nullopt},
      {"solver is not executable", [&] { fs::permissions(folder / "kmwin64.exe", fs::perms::owner_read); },
       SystemError(EACCES, "Permission denied")},
  };
  int n = 0;
  for (const auto& [what, make, outcome] : cases) {
    SCOPED_TRACE(what);
    makeFolder("case" + std::to_string(++n));
    task("Stipulation #3\r\n<Protokoll>\r\n");
    Spit(outside, "keep");
    load();
    make();
    const auto before = OtherFiles(folder);
    press();
    expectOutcome(outcome.value_or(passed()));
    EXPECT_EQ(fs::exists(folder / "standin_calls.log"), !outcome || *outcome == kFailed) << "the solver ran";
    EXPECT_EQ(Slurp(outside), "keep");
    EXPECT_FALSE(fs::exists(base / "nowhere"));
    EXPECT_EQ(OtherFiles(folder), before) << "files other than the run's changed";
  }
  // Asked directly, as for a pipe or a link put there after the check: writing refuses them,
  // a pipe without waiting for a partner (a wait ends the test after 10 s) or with one.
  ::close(pipeEnd);
  ::mkfifo((folder / "pipe").c_str(), 0644);
  fs::create_symlink(base / "nowhere", folder / "link");
  EXPECT_FALSE(platform->plainFileExists(folder.string())) << "a folder";
  std::int32_t error = 0;
  ::alarm(10);
  EXPECT_FALSE(platform->openForWriting((folder / "pipe").string(), error)) << "no partner";
  EXPECT_FALSE(platform->openForWriting((folder / "link").string(), error));
  pipeEnd = ::open((folder / "pipe").c_str(), O_RDWR);
  EXPECT_FALSE(platform->openForWriting((folder / "pipe").string(), error));
  ::alarm(0);
  ::close(pipeEnd);
}

TEST_F(RealRun, StopEndsASolverThatIgnoresPoliteSignalsAndTheChildItStarted) {
  // Ignored dispositions survive exec, so the solver ignores these too.
  constexpr std::array kPolite = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1};
  for (const int s : kPolite) ::signal(s, SIG_IGN);
  task("%standin child 300\r\n%standin sleep 36000000\r\n<Protokoll>\r\n");
  auto& f = load();
  const fs::path childLog = folder / "standin_child.log";
  const auto childRunning = [&] { return !ProcessesMentioning(childLog.string()).empty(); };
  int pid = 0;
  press([&](int) { return childRunning() && f.Solver && (pid = static_cast<int>(f.Solver->processId())) != 0; });
  for (const int s : kPolite) ::signal(s, SIG_DFL);
  expectOutcome(kAborted);
  EXPECT_NE(::kill(pid, 0), 0) << "the solver must be gone, and reaped, when the press returns";
  // Left running, the child could write KM.OUT into the next run.
  EXPECT_TRUE(Eventually(5s, [&] { return !childRunning(); }));
  EXPECT_FALSE(fs::exists(childLog)) << "the stopped solver's child must end with it";
}

// What a solver that ended by itself left running, in its group or detached as
// a daemon (its own session, descriptor 3 closed), has ended when the press
// returns: it cannot make the next run pass, though that run lasts long enough
// for it to write.
TEST_F(RealRun, WhatASolverLeftRunningEndsWithItsRun) {
  task("<Protokoll>\r\n");
  load();
  for (const char* leftover : {"latechild", "daemon"}) {
    SCOPED_TRACE(leftover);
    task(std::string("%standin ") + leftover + " 300\r\n%standin sleep 100\r\n<Protokoll>\r\n");
    press();
    expectOutcome(kFailed);
    EXPECT_TRUE(ProcessesMentioning((folder / "standin_child.log").string()).empty());
    task("%standin sleep 600\r\n%standin nowrite\r\n<Protokoll>\r\n");
    press();
    expectOutcome(kFailed);
  }
  EXPECT_FALSE(fs::exists(folder / "standin_child.log"));
}

// The verdict reads what it opened: a link or a pipe put at KM.OUT during the
// run (by a helper of the solver) fails the run and says why; a pipe whose
// writer never ends does not hold it up.
TEST_F(RealRun, WhatStandsAtKmOutAfterTheRunIsNeverFollowedNorWaitedFor) {
  task("%standin sleep 200\r\n%standin nowrite\r\n<Protokoll>\r\n");
  auto& f = load();
  const fs::path output = folder / "KM.OUT";
  int writer = -1;
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"link to the task", [&] { fs::create_symlink("test_#3.INP", output); }},
      {"pipe held open", [&] {
         ::mkfifo(output.c_str(), 0644);
         writer = ::open(output.c_str(), O_RDWR);
       }},
  };
  for (const auto& [what, make] : cases) {
    SCOPED_TRACE(what);
    press([&, &put = make](int pump) { return pump == 2 && (put(), false); });
    expectOutcome(kFailed);
    EXPECT_EQ(f.lblResult.toolTip(),
              "KM.OUT ist nach dem Lauf keine gewöhnliche Datei (ein Link, ein Ordner oder eine Pipe); es wird nicht "
              "gelesen.");
  }
  ::close(writer);
}

// A second checker in the folder (here in this process) is refused while a run
// holds it, even after the run's input file was renamed away, and is told who
// holds it. The first run does not pass: it cannot know that no other check
// (a Windows one under Wine locks the input file only) wrote its KM.OUT.
TEST_F(RealRun, ASecondCheckerInTheFolderIsRefusedWhileARunGoesOn) {
  task("%standin sleep 300\r\n<Protokoll>\r\n");
  auto& f = load();
  PosixPlatform otherPlatform(folder.string(), base / "root");
  HeadlessToolkit otherToolkit;
  frmKalmorChecker other(otherPlatform, otherToolkit);
  otherToolkit.attach(other);
  other.Form_Load();
  const fs::path input = folder / "TMP_INPUT.INP";
  // This process holds the folder: the first checker's lock, then a Windows checker's.
  const std::string heldByThisProcess =
      "In diesem Ordner läuft schon ein Test (oder ein Rest davon): kalmor_fault_te (" + std::to_string(::getpid()) +
      "). Warten Sie, bis er endet, oder beenden Sie ihn, dann drücken Sie wieder Start.";
  press([&](int pump) {
    if (pump != 3) return false;
    fs::rename(input, folder / "moved.INP");
    otherToolkit.click(other.cmdOK);
    return false;
  });
  expectOutcome(kFailed);
  EXPECT_EQ(f.lblResult.toolTip(), "TMP_INPUT.INP oder der Ordner wurde während des Laufs entfernt, ersetzt oder "
                                   "freigegeben; KM.OUT kann von einem anderen Test stammen und zählt nicht.");
  EXPECT_EQ(other.lblResult.caption(), heldByThisProcess);
  otherToolkit.click(other.cmdOK);  // the folder is free once the run is judged
  EXPECT_EQ(other.lblStatus.caption(), "Test erfolgreich abgeschlossen!");
  // A write lock at the Windows build's byte, as Wine takes it for a Windows checker, refuses a run too.
  const int windowsChecker = ::open(input.c_str(), O_RDWR);
  struct flock range {};
  range.l_type = F_WRLCK;
  range.l_start = off_t{1} << 62;
  range.l_len = 1;
  ASSERT_EQ(::fcntl(windowsChecker, F_SETLK, &range), 0);
  otherToolkit.click(other.cmdOK);
  EXPECT_EQ(other.lblResult.caption(), heldByThisProcess);
  ::close(windowsChecker);
}

TEST_F(RealRun, FolderNamesReachTheSolverInEveryCallingModeAndRunsLeaveNoDescriptorOrChild) {
  makeFolder("Prüf latin1 \xfc");  // blanks, and a byte that is no UTF-8
  task("<Protokoll>\r\n");
  auto& f = load();
  int descriptors = 0;
  for (int mode = 0; mode < 4; ++mode) {
    toolkit.choose(f.lstKalmorCallingMode, mode);
    press();
    expectOutcome(passed());
    if (mode == 0) descriptors = OpenDescriptors();  // the first run may open what stays open for good
  }
  EXPECT_EQ(OpenDescriptors(), descriptors) << "descriptors open after 3 more runs";
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "finished solvers are reaped";
  // argv[0] is the solver's own path; the rest as a Windows program's runtime cuts it.
  const std::string program = "[" + (folder / "kmwin64.exe").string() + "]";
  const std::string quoted = "2 " + program + " [" + (folder / "TMP_INPUT.INP").string() + "]\n";
  const std::string split = "4 " + program + " [" + (base / "Prüf").string() + "] [latin1] [\xfc/TMP_INPUT.INP]\n";
  EXPECT_EQ(Slurp(folder / "standin_calls.log"), quoted + quoted + split + split);
}

}  // namespace
}  // namespace kalmor
