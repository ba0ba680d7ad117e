// The Windows platform's files and solver processes against the real calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_solver_process.h"
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
  // directives, its path quoted; nullptr if it could not.
  std::unique_ptr<SolverProcess> start(Platform& starter, const std::string& directives) {
    commandLine = solver + " \"" + folder.put("TMP_INPUT.INP", directives) + "\"";
    StartupRecord hidden;
    hidden.cb = sizeof(void*) == 4 ? 68 : 104;
    hidden.dwFlags = kStartfUseShowWindow;
    hidden.wShowWindow = kSwHide;
    auto started = starter.startSolver(starter.toAnsi(solver), starter.toAnsi(commandLine), true,
                                       kNormalPriorityClass, hidden, nullptr);
    EXPECT_TRUE(started) << "error " << started.error();
    return started ? std::move(*started) : nullptr;
  }
  // Waits in the window's 10 ms slices; the number of slices that timed out.
  static int waitInSlices(SolverProcess& process, int most, WaitOutcome& outcome) {
    int timeouts = 0;
    while ((outcome = process.wait(10)) == WaitOutcome::Timeout &&
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
  auto reader = platform.openForReading(path);
  // Bytes of the ANSI page, both line ends and a NUL pass unchanged.
  const std::string bytes = std::string("Pr\xFC" "fung\r\nzweite\n") + '\0' + "Ende";
  auto writer = platform.openForWriting(path);
  ASSERT_TRUE(reader && writer) << "error " << reader.error() << " " << writer.error();
  ASSERT_TRUE((*writer)->write(bytes.data(), 5));
  ASSERT_TRUE((*writer)->write(bytes.data() + 5, bytes.size() - 5));
  ASSERT_TRUE((*writer)->close());
  std::string back(64, '\0');
  auto again = platform.openForReading(path);
  ASSERT_TRUE(again);
  const Result<std::size_t> count = (*again)->read(back.data(), back.size());
  ASSERT_TRUE(count);
  back.resize(*count);
  EXPECT_EQ(back, bytes);
}

TEST_F(Win32Files, FileErrorsAreTheSystemsAndAMissingFileCountsAsDeleted) {
  EXPECT_EQ(platform.openForReading(folder.file("KM.OUT")).error(), 2);
  const std::string path = folder.put("KM.OUT", "protocol");
  EXPECT_TRUE(platform.deleteFile(path) && !std::filesystem::exists(FromUtf8(path)));
  EXPECT_TRUE(platform.deleteFile(folder.file("no such folder\\KM.OUT")));
  // Under Wine, names of another case would take KM.OUT's place one by one.
  for (const char* twin : {"KM.OUT", "km.out", "Km.Out"}) folder.put(twin, "stale");
  EXPECT_TRUE(platform.deleteFile(path));
  EXPECT_TRUE(testing::Snapshot(folder.path()).empty());
  std::filesystem::create_directory(folder.path() / "KM.OUT");
  EXPECT_NE(platform.deleteFile(path).error(), 0) << "a folder is not deleted as a file";
}

// The run lock's byte as the Linux build and other Wine prefixes see it: a
// POSIX lock, asked for by python3 on the Unix side. Probed: python's exit
// status for a shared lock there, 1 when refused, as a write lock refuses it
// ("windows" where there is no Unix side). Held: an exclusive one is taken and
// kept until the returned file goes (or for 20 s).
std::string UnixSharedLockStatus(const std::filesystem::path& input) {
  if (!testing::UnixShell(input, L"python3 -c 'import fcntl, os, sys; fcntl.lockf(os.open("
                                 L"sys.argv[1], os.O_RDWR), fcntl.LOCK_SH | fcntl.LOCK_NB, 1, "
                                 L"2**62)' \"$0\" 2>/dev/null; echo $? >\"$0.seen\"")) {
    return "windows";
  }
  const std::filesystem::path seen = input.wstring() + L".seen";
  std::string status;
  std::ifstream(seen) >> status;
  std::filesystem::remove(seen);
  return status;
}
std::filesystem::path HoldLockOnUnixSide(const std::filesystem::path& input) {
  testing::UnixShell(input,
                     L"python3 -c 'import fcntl, os, sys, time; held = sys.argv[1] + \".held\"; "
                     L"fcntl.lockf(os.open(sys.argv[1], os.O_RDWR), fcntl.LOCK_EX, 1, 2**62); "
                     L"open(held, \"w\").close(); [time.sleep(0.05) for _ in range(400) "
                     L"if os.path.exists(held)]' \"$0\" </dev/null >/dev/null 2>&1 & "
                     L"for i in $(seq 200); do [ -e \"$0.held\" ] && break; sleep 0.05; done");
  return input.wstring() + L".held";
}

// One run per folder, across prefixes and the Linux build too, and what stands
// at a name: under Wine a Unix link looks like a plain file, or like nothing
// when it dangles; where this checker holds the run lock, creating the name
// may tell, and leaves nothing behind (the unlocked look would see it). Taking
// the lock removes what a checker killed amid a replacement left.
TEST_F(Win32Files, OneRunPerFolderAndWhatStandsAtAName) {
  Win32Platform other;
  const std::string input = folder.file("TMP_INPUT.INP");
  const std::string hidden = folder.put("hidden", "");
  ASSERT_TRUE(::SetFileAttributesW(FromUtf8(hidden).c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  const std::string leftover = "~kalmor-0123456789abcdef.new";
  for (const char* name : {"~kalmor-0123456789abcdef.new", "~kalmor-0123456789abcdeg.new",
                           "~kalmor-00000000000000ff.new", "TMP_INPUT.INP.1234.new"}) {
    folder.put(name, "left");
  }
  const UniqueHandle inUse(::CreateFileW(FromUtf8(folder.file("~kalmor-00000000000000ff.new")).c_str(),
                                         GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
  testing::MakeLink(folder.path() / "~kalmor-fedcba9876543210.new", "hidden");
  auto taken = platform.lockRun(input);
  ASSERT_TRUE(taken && taken->outcome == LockOutcome::Taken) << taken.error();
  for (Win32Platform* second : {&other, &platform}) {
    const auto busy = second->lockRun(input);
    EXPECT_TRUE(busy && busy->outcome == LockOutcome::Busy && !busy->lock);
  }
  const auto left = testing::Snapshot(folder.path());
  EXPECT_FALSE(left.contains(leftover));
  EXPECT_EQ(left.size(), 6u) << "only the free plain leftover of the right shape goes";
  // The solver still reads and writes its input, however it shares it.
  const UniqueHandle solverSide(::CreateFileW(FromUtf8(input).c_str(), GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  DWORD count = 0;
  char byte = 0;
  EXPECT_TRUE(::WriteFile(solverSide.get(), "x", 1, &count, nullptr) &&
              ::SetFilePointer(solverSide.get(), 0, nullptr, FILE_BEGIN) == 0 &&
              ::ReadFile(solverSide.get(), &byte, 1, &count, nullptr) && byte == 'x');
  const std::string sharedLock = UnixSharedLockStatus(FromUtf8(input));
  EXPECT_TRUE(sharedLock == "1" || sharedLock == "windows") << "a shared lock there: " << sharedLock;
  std::filesystem::create_directory(folder.path() / "folder");
  folder.put("folder\\kept", "kept");
  testing::MakeLink(folder.path() / "link", "hidden");
  testing::MakeLink(folder.path() / "dangling", "nothing");
  testing::MakeLink(folder.path() / "folderlink", "folder");
  using enum NameKind;
  const struct { const char* name; NameKind kind, unlocked; } names[] = {
      {"hidden", File, File}, {"folder", Folder, Folder}, {"link", Link, Link},
      {"dangling", Link, Absent}, {"folderlink", Folder, Folder}, {"KM.OUT", Absent, Absent}};
  for (const auto& name : names) {
    EXPECT_EQ(platform.nameKind(folder.file(name.name), taken->lock.get()), name.kind) << name.name;
    EXPECT_EQ(platform.nameKind(folder.file(name.name), nullptr), name.unlocked) << name.name;
  }
  taken->lock.reset();
  if (sharedLock != "windows") {
    const std::filesystem::path held = HoldLockOnUnixSide(FromUtf8(input));
    const auto busy = other.lockRun(input);
    EXPECT_TRUE(busy && busy->outcome == LockOutcome::Busy) << "a Unix write lock on the byte";
    std::filesystem::remove(held);
    EXPECT_TRUE(testing::Eventually(std::chrono::seconds(5), [&] {
      const auto free = other.lockRun(input);
      return free && free->lock != nullptr;
    }));
  }
  const auto again = other.lockRun(input);
  EXPECT_TRUE(again && again->lock);
  // Gone as links, their targets kept; a link to a folder stays, as the folder does.
  for (const char* link : {"link", "dangling"}) {
    EXPECT_TRUE(platform.deleteFile(folder.file(link)) &&
                other.nameKind(folder.file(link), nullptr) == NameKind::Absent) << link;
  }
  EXPECT_FALSE(platform.deleteFile(folder.file("folderlink")));
  EXPECT_EQ(platform.nameKind(hidden, nullptr), NameKind::File) << "only the link went";
  EXPECT_EQ(testing::Snapshot(folder.path() / "folder").size(), 1u);
  // Removing the folder's files, the runtime would follow these links.
  for (const char* link : {"folderlink", "~kalmor-fedcba9876543210.new"}) {
    testing::UnixShell(folder.path() / link, L"rm \"$0\"");
  }
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
  const auto process = start(platform, "%standin sleep 300\r\nProtokoll " + output + "\r\n");
  ASSERT_TRUE(process);
  WaitOutcome outcome{};
  EXPECT_GE(waitInSlices(*process, 3000, outcome), 5) << "a 300 ms solver outlasts 10 ms slices";
  EXPECT_EQ(outcome, WaitOutcome::Ended);
  EXPECT_TRUE(platform.plainFileExists(folder.file("KM.OUT"))) << "the decoy ran";
  std::ostringstream log;
  log << std::ifstream(folder.path() / "standin_calls.log", std::ios::binary).rdbuf();
  EXPECT_EQ(log.str(),
            standin::CallsLogLine(SplitCommandTail(platform.toAnsi(commandLine))) + "\n");
}

// Where the job cannot adopt the solver (a checker that runs in a job of its
// own on Windows 7), Stop must end the solver itself: here an object whose
// job never held it.
TEST_F(Win32Files, StopEndsASolverOutsideItsJob) {
  const std::string name = "kmalone" + std::to_string(::GetCurrentProcessId());
  std::filesystem::copy_file(KALMOR_STANDIN_SOLVER, folder.path() / (name + ".exe"));
  solver = folder.file(name + ".exe");
  const auto process = start(platform, "%standin sleep 60000\r\n");
  ASSERT_TRUE(process);
  std::vector<std::uint32_t> ids;
  ASSERT_TRUE(testing::Eventually(std::chrono::seconds(5),
                                  [&] { return (ids = probes::ProcessesNamed(name)).size() == 1; }));
  SolverJob emptyJob;
  WineCrashCatcher noCatcher;
  Win32SolverProcess(UniqueHandle(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, ids[0])), UniqueHandle(),
                     ids[0], emptyJob, noCatcher)
      .terminate();
  WaitOutcome outcome{};
  EXPECT_LT(waitInSlices(*process, 500, outcome), 500) << "the solver still runs after 5 s";
}

TEST_F(Win32Solver, RunsLeaveNoHandleOfTheCheckerBehind) {
  const auto run = [this] {
    const auto process = start(platform, "");
    ASSERT_TRUE(process);
    WaitOutcome outcome{};
    waitInSlices(*process, 3000, outcome);
  };
  run();  // the first run may open what stays open for good
  const std::uint32_t before = probes::OpenHandles();
  for (int i = 0; i < 3; ++i) run();
  // Under Wine a debugged solver's last handles may close a moment after its
  // run, seconds on a loaded host; a leak never comes back down.
  std::uint32_t after = probes::OpenHandles();
  for (int i = 0; i < 500 && after != before; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    after = probes::OpenHandles();
  }
  EXPECT_EQ(after, before);
  EXPECT_GT(before, 0u) << "no way to count handles here";
}

// A stand-in that has started a sleeping child, under a name no other test
// uses, so that the census counts this tree alone; the child also one that
// names the checker as its parent, and so is not in the solver's job. The
// solver and all it starts end together: on Stop, when its owner lets go of
// it mid-run (a press left by an exception), when the checker is killed (no
// owner ends anything then, but the system closes its job objects, as
// destroying the platform does here), and when the solver ends by itself,
// before its run is judged.
TEST_F(Win32Files, AllTheSolverStartedEndsWithItsRun) {
  const std::string prefix = "kmtree" + std::to_string(::GetCurrentProcessId());
  std::filesystem::copy_file(KALMOR_STANDIN_SOLVER, folder.path() / (prefix + ".exe"));
  solver = folder.file(prefix + ".exe");
  const auto treeBecomes = [&](std::size_t size, int seconds) {
    return testing::Eventually(std::chrono::seconds(seconds),
                               [&] { return probes::ProcessesNamed(prefix).size() == size; });
  };
  enum End { kStop, kDropped, kCheckerKilled, kByItself };
  const char* names[] = {"Stop", "its owner's end", "the checker's death", "the solver's own end"};
  for (const End end : {kStop, kDropped, kCheckerKilled, kByItself})
  for (const std::string child : {"child", "adoptedchild"}) {
    auto checker = std::make_unique<Win32Platform>();
    auto process = start(*checker, "%standin " + child + " 60000\r\n" +
                                       (end == kByItself ? "" : "%standin sleep 60000\r\n"));
    ASSERT_TRUE(process);
    WaitOutcome outcome{};
    if (end == kByItself) waitInSlices(*process, 2000, outcome);
    ASSERT_TRUE(treeBecomes(end == kByItself ? 1 : 2, 20)) << child << ", " << names[end];
    if (end == kStop) {
      process->terminate();
      EXPECT_TRUE(treeBecomes(0, 5)) << child << " after Stop, its owner still there";
    }
    // A killed checker runs no destructor: the object is left as it would be.
    if (end == kCheckerKilled) static_cast<void>(process.release());
    process.reset();
    checker.reset();
    EXPECT_TRUE(treeBecomes(0, 5)) << child << " after " << names[end];
  }
  for (const std::uint32_t id : probes::ProcessesNamed(prefix)) {
    const HANDLE left = ::OpenProcess(PROCESS_TERMINATE, FALSE, id);
    ::TerminateProcess(left, 9);
    ::CloseHandle(left);
  }
}

}  // namespace
}  // namespace kalmor
