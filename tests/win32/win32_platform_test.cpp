// The Windows platform's files and solver processes against the real calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_platform.h"
#include "platform/windows_command_line.h"
#include "tests/support/eventually.h"
#include "tests/support/win32/process_census.h"
#include "tests/support/win32/scratch_folder.h"
#include "tools/standin_solver/command_tail.h"

namespace kalmor {
namespace {

using testing::FromUtf8;
using testing::Utf8;

class Win32Files : public ::testing::Test {
 protected:
  // Starts solver hidden, as the checker does, on an input of these
  // directives, its path quoted; false if it could not.
  bool start(Platform& starter, const std::string& directives, ProcessRecord& process) {
    commandLine = solver + " \"" + folder.put("TMP_INPUT.INP", directives) + "\"";
    StartupRecord hidden;
    hidden.cb = sizeof(void*) == 4 ? 68 : 104;
    hidden.dwFlags = kStartfUseShowWindow;
    hidden.wShowWindow = kSwHide;
    std::int32_t error = 0;
    const bool started = starter.createProcess(starter.toAnsi(solver), starter.toAnsi(commandLine),
                                               true, kNormalPriorityClass, hidden, process, error);
    EXPECT_TRUE(started) << "error " << error;
    return started;
  }
  // Waits in the window's 10 ms slices; the number of slices that timed out.
  int waitInSlices(const ProcessRecord& process, int most, WaitOutcome& outcome) {
    int timeouts = 0;
    while ((outcome = platform.waitForProcess(process, 10)) == WaitOutcome::Timeout &&
           ++timeouts < most) {
    }
    return timeouts;
  }

  testing::ScratchFolder folder;
  Win32Platform platform;
  std::string solver, commandLine;
};

TEST_F(Win32Files, FindsPlainFilesOnly) {
  const std::string plain = folder.put("test_#3.INP", "task");
  for (const DWORD mark : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    const std::string marked = folder.put("marked" + std::to_string(mark) + ".INP", "task");
    ASSERT_TRUE(::SetFileAttributesW(FromUtf8(marked).c_str(), mark));
    EXPECT_FALSE(platform.plainFileExists(marked)) << marked;
  }
  std::filesystem::create_directory(folder.path() / "kmwin32.exe");
  EXPECT_TRUE(platform.plainFileExists(plain));
  EXPECT_FALSE(platform.plainFileExists(folder.file("kmwin32.exe")));
  EXPECT_FALSE(platform.plainFileExists(folder.file("test_#4.INP")));
}

TEST_F(Win32Files, WritesRawBytesOverAnOpenLongerFileAndReadsThemBack) {
  const std::string path = folder.put("TMP_INPUT.INP", "an older and longer input, held open");
  std::int32_t error = 0;
  auto reader = platform.openForReading(path, error);
  // Bytes of the ANSI page, both line ends and a NUL pass unchanged.
  const std::string bytes = std::string("Pr\xFC" "fung\r\nzweite\n") + '\0' + "Ende";
  auto writer = platform.openForWriting(path, error);
  ASSERT_TRUE(reader && writer) << "error " << error;
  ASSERT_TRUE(writer->write(bytes.data(), 5, error));
  ASSERT_TRUE(writer->write(bytes.data() + 5, bytes.size() - 5, error));
  ASSERT_TRUE(writer->close(error));
  std::string back(64, '\0');
  back.resize(platform.openForReading(path, error)->read(back.data(), back.size(), error));
  EXPECT_EQ(back, bytes);
}

TEST_F(Win32Files, FileErrorsAreTheSystemsAndAMissingFileCountsAsDeleted) {
  std::int32_t error = 0;
  EXPECT_EQ(platform.openForReading(folder.file("KM.OUT"), error), nullptr);
  EXPECT_EQ(error, 2);
  const std::string path = folder.put("KM.OUT", "protocol");
  error = 0;
  EXPECT_TRUE(platform.deleteFile(path, error) && !std::filesystem::exists(FromUtf8(path)));
  EXPECT_TRUE(platform.deleteFile(folder.file("no such folder\\KM.OUT"), error));
  EXPECT_EQ(error, 0);
  std::filesystem::create_directory(folder.path() / "KM.OUT");
  EXPECT_FALSE(platform.deleteFile(path, error)) << "a folder is not deleted as a file";
  EXPECT_NE(error, 0);
}

// One run per folder, and what stands at a name: under Wine a Unix link looks
// like a plain file, or like nothing when it dangles; where this checker holds
// the run lock, creating the name may tell, and leaves nothing behind (the
// unlocked look would see it).
TEST_F(Win32Files, OneRunPerFolderAndWhatStandsAtAName) {
  Win32Platform other;
  LockOutcome outcome{};
  std::int32_t error = 0;
  auto lock = platform.lockRun(folder.file("TMP_INPUT.INP"), outcome, error);
  ASSERT_EQ(outcome, LockOutcome::Taken) << error;
  for (Win32Platform* second : {&other, &platform}) {
    EXPECT_EQ(second->lockRun(folder.file("TMP_INPUT.INP"), outcome, error), nullptr);
    EXPECT_EQ(outcome, LockOutcome::Busy);
  }
  const std::string hidden = folder.put("hidden", "");
  ASSERT_TRUE(::SetFileAttributesW(FromUtf8(hidden).c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  std::filesystem::create_directory(folder.path() / "folder");
  testing::MakeLink(folder.path() / "link", "hidden");
  testing::MakeLink(folder.path() / "dangling", "nothing");
  using enum NameKind;
  const struct { const char* name; NameKind kind, unlocked; } names[] = {
      {"hidden", File, File}, {"folder", Folder, Folder}, {"link", Link, Link},
      {"dangling", Link, Absent}, {"KM.OUT", Absent, Absent}};
  for (const auto& name : names) {
    EXPECT_EQ(platform.nameKind(folder.file(name.name)), name.kind) << name.name;
    EXPECT_EQ(other.nameKind(folder.file(name.name)), name.unlocked) << name.name;
  }
  lock.reset();
  const auto again = other.lockRun(folder.file("TMP_INPUT.INP"), outcome, error);
  EXPECT_NE(again, nullptr);
  // Gone as links, their targets kept (and the folder can go).
  for (const char* link : {"link", "dangling"}) {
    EXPECT_TRUE(platform.deleteFile(folder.file(link), error) &&
                other.nameKind(folder.file(link)) == NameKind::Absent) << link;
  }
  EXPECT_EQ(platform.nameKind(hidden), NameKind::File) << "only the link went";
}

// The stand-in as kmwin32.exe in a folder with blanks, and a decoy where an
// unquoted program path would lead the system first.
class Win32Solver : public Win32Files {
 protected:
  Win32Solver() {
    const std::filesystem::path solverFolder = folder.path() / "solver dir with blanks";
    std::filesystem::create_directory(solverFolder);
    std::filesystem::copy_file(KALMOR_STANDIN_SOLVER, solverFolder / "kmwin32.exe");
    std::filesystem::copy_file("C:/windows/system32/hostname.exe", folder.path() / "solver.exe");
    solver = Utf8(solverFolder) + "\\kmwin32.exe";
  }
};

TEST_F(Win32Solver, ANamedSolverRunsHiddenToItsEndWithItsCommandLineVerbatim) {
  const std::string output = platform.toAnsi(folder.file("KM.OUT"));
  ProcessRecord process;
  ASSERT_TRUE(start(platform, "%standin sleep 300\r\nProtokoll " + output + "\r\n", process));
  WaitOutcome outcome{};
  EXPECT_GE(waitInSlices(process, 3000, outcome), 5) << "a 300 ms solver outlasts 10 ms slices";
  EXPECT_EQ(outcome, WaitOutcome::Ended);
  EXPECT_TRUE(platform.plainFileExists(folder.file("KM.OUT"))) << "the decoy ran";
  std::ostringstream log;
  log << std::ifstream(folder.path() / "standin_calls.log", std::ios::binary).rdbuf();
  EXPECT_EQ(log.str(),
            standin::CallsLogLine(SplitCommandTail(platform.toAnsi(commandLine))) + "\n");
  platform.closeProcessHandles(process);
  EXPECT_EQ(platform.waitForProcess(process, 10), WaitOutcome::Failed);
}

// Where the job cannot adopt the solver (a checker that runs in a job of its
// own on Windows 7), Stop must end the solver itself: here another platform,
// and so another job, started it.
TEST_F(Win32Solver, StopEndsASolverOutsideItsJob) {
  Win32Platform starter;
  ProcessRecord process;
  ASSERT_TRUE(start(starter, "%standin sleep 60000\r\n", process));
  platform.terminateProcess(process.processId, 1);
  WaitOutcome outcome{};
  EXPECT_LT(waitInSlices(process, 500, outcome), 500) << "the solver still runs after 5 s";
  starter.closeProcessHandles(process);
}

TEST_F(Win32Solver, RunsLeaveNoHandleOfTheCheckerBehind) {
  const auto run = [this] {
    ProcessRecord process;
    ASSERT_TRUE(start(platform, "", process));
    WaitOutcome outcome{};
    waitInSlices(process, 3000, outcome);
    platform.closeProcessHandles(process);
  };
  run();  // the first run may open what stays open for good
  const std::uint32_t before = probes::OpenHandles();
  for (int i = 0; i < 3; ++i) run();
  EXPECT_EQ(probes::OpenHandles(), before);
  EXPECT_GT(before, 0u) << "no way to count handles here";
}

// A stand-in that has started a sleeping child, under a name no other test
// uses, so that the census counts this tree alone. The solver and all it
// starts end together: on Stop, when the checker ends (killed or not, the
// system closes its job object, as destroying the platform does here), and
// when the solver ends by itself, before its run is judged.
TEST_F(Win32Files, AllTheSolverStartedEndsWithItsRun) {
  const std::string prefix = "kmtree" + std::to_string(::GetCurrentProcessId());
  std::filesystem::copy_file(KALMOR_STANDIN_SOLVER, folder.path() / (prefix + ".exe"));
  solver = folder.file(prefix + ".exe");
  const auto treeBecomes = [&](std::size_t size, int seconds) {
    return testing::Eventually(std::chrono::seconds(seconds),
                               [&] { return probes::ProcessesNamed(prefix).size() == size; });
  };
  enum End { kStop, kCheckerEnds, kByItself };
  const char* names[] = {"Stop", "the checker's end", "the solver's own end"};
  for (const End end : {kStop, kCheckerEnds, kByItself}) {
    auto checker = std::make_unique<Win32Platform>();
    ProcessRecord process;
    ASSERT_TRUE(start(*checker, std::string("%standin child 60000\r\n") +
                                    (end == kByItself ? "" : "%standin sleep 60000\r\n"),
                      process));
    WaitOutcome outcome{};
    if (end == kByItself) waitInSlices(process, 2000, outcome);
    ASSERT_TRUE(treeBecomes(end == kByItself ? 1 : 2, 20)) << names[end];
    if (end == kStop) checker->terminateProcess(process.processId, 1);
    if (end == kCheckerEnds) {
      Win32Platform().closeProcessHandles(process);  // the handles, not this checker's job
      checker.reset();
    } else {
      checker->closeProcessHandles(process);
    }
    EXPECT_TRUE(treeBecomes(0, 5)) << "after " << names[end];
  }
  for (const std::uint32_t id : probes::ProcessesNamed(prefix)) {
    const HANDLE left = ::OpenProcess(PROCESS_TERMINATE, FALSE, id);
    ::TerminateProcess(left, 9);
    ::CloseHandle(left);
  }
}

}  // namespace
}  // namespace kalmor
