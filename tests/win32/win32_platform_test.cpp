// The Windows platform's files and solver processes against the real calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"
#include "platform/windows_command_line.h"
#include "tests/support/eventually.h"
#include "tests/support/win32/process_census.h"
#include "tests/win32/scratch_folder.h"
#include "tools/standin_solver/command_tail.h"

namespace kalmor {
namespace {

using testing::FromUtf8;
using testing::Utf8;

std::string ReadAll(InputFile& file) {
  std::string bytes;
  std::string buffer(7, '\0');
  std::int32_t error = 0;
  while (const std::size_t got = file.read(buffer.data(), buffer.size(), error)) {
    bytes.append(buffer, 0, got);
  }
  EXPECT_EQ(error, 0);
  return bytes;
}

// Starts solver hidden, as the checker does; false if it could not.
bool StartHidden(Platform& platform, const std::string& solver, const std::string& commandLine,
                 ProcessRecord& process, std::int32_t& error) {
  StartupRecord hidden;
  hidden.cb = sizeof(void*) == 4 ? 68 : 104;
  hidden.dwFlags = kStartfUseShowWindow;
  hidden.wShowWindow = kSwHide;
  return platform.createProcess(platform.toAnsi(solver), platform.toAnsi(commandLine), true,
                                kNormalPriorityClass, hidden, process, error);
}

class Win32Files : public ::testing::Test {
 protected:
  testing::ScratchFolder folder;
  Win32Platform platform;
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
  EXPECT_TRUE(platform.plainFileExists(Utf8(folder.path()) + "/test_#3.INP")) << "with a slash";
  for (const char* name : {"kmwin32.exe", "test_#4.INP", "no such folder\\x.INP"}) {
    EXPECT_FALSE(platform.plainFileExists(folder.file(name))) << name;
  }
}

TEST_F(Win32Files, WritesRawBytesOverAnOpenLongerFileAndReadsThemBack) {
  const std::string path = folder.put("TMP_INPUT.INP", "an older and longer input, open for reading");
  std::int32_t error = 0;
  auto reader = platform.openForReading(path, error);
  ASSERT_NE(reader, nullptr) << "error " << error;
  // Bytes of the ANSI page, both line ends and a NUL pass unchanged, in a folder beyond ASCII.
  const std::string bytes = std::string("Pr\xFC" "fung\r\nzweite\n") + '\0' + "Ende";
  auto writer = platform.openForWriting(path, error);
  ASSERT_NE(writer, nullptr) << "error " << error;
  ASSERT_TRUE(writer->write(bytes.data(), 5, error));
  ASSERT_TRUE(writer->write(bytes.data() + 5, bytes.size() - 5, error));
  ASSERT_TRUE(writer->close(error));
  auto again = platform.openForReading(path, error);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(ReadAll(*again), bytes);
}

TEST_F(Win32Files, FileErrorsAreTheSystemsAndAMissingFileCountsAsDeleted) {
  std::int32_t error = 0;
  EXPECT_EQ(platform.openForReading(folder.file("KM.OUT"), error), nullptr);
  EXPECT_EQ(error, 2);
  const std::string path = folder.put("KM.OUT", "protocol");
  error = 0;
  EXPECT_TRUE(platform.deleteFile(path, error));
  EXPECT_FALSE(std::filesystem::exists(FromUtf8(path)));
  EXPECT_TRUE(platform.deleteFile(path, error));
  EXPECT_TRUE(platform.deleteFile(folder.file("no such folder\\KM.OUT"), error));
  EXPECT_EQ(error, 0);
  std::filesystem::create_directory(folder.path() / "KM.OUT");
  EXPECT_FALSE(platform.deleteFile(path, error)) << "a folder is not deleted as a file";
  EXPECT_NE(error, 0);
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
  bool start(const std::string& directives, bool quoted, ProcessRecord& process) {
    const std::string output = platform.toAnsi(folder.file("KM.OUT"));
    const std::string input =
        folder.put("TMP_INPUT.INP", directives + "Protokoll " + output + "\r\nwKa1\r\n");
    commandLine = solver + (quoted ? " \"" + input + "\"" : " " + input);
    std::int32_t error = 0;
    const bool started = StartHidden(platform, solver, commandLine, process, error);
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
  std::string solver, commandLine;
};

TEST_F(Win32Solver, ANamedSolverRunsHiddenToItsEndWithItsCommandLineVerbatim) {
  for (const bool quoted : {true, false}) {
    ProcessRecord process;
    ASSERT_TRUE(start("%standin sleep 300\r\n", quoted, process));
    WaitOutcome outcome{};
    EXPECT_GE(waitInSlices(process, 3000, outcome), 5) << "a 300 ms solver outlasts 10 ms slices";
    EXPECT_EQ(outcome, WaitOutcome::Ended);
    EXPECT_TRUE(platform.plainFileExists(folder.file("KM.OUT"))) << "the stand-in, not the decoy, ran";
    std::ostringstream log;
    log << std::ifstream(folder.path() / "standin_calls.log", std::ios::binary).rdbuf();
    EXPECT_EQ(log.str(), standin::CallsLogLine(SplitCommandTail(platform.toAnsi(commandLine))) + "\n");
    platform.terminateProcess(process.processId, 1);  // a late Stop finds it ended
    platform.closeProcessHandles(process);
    EXPECT_EQ(platform.waitForProcess(process, 10), WaitOutcome::Failed);
    std::filesystem::remove(folder.path() / "standin_calls.log");
    std::filesystem::remove(folder.path() / "KM.OUT");
  }
  ProcessRecord process;
  std::int32_t error = 0;
  const std::string missing = platform.toAnsi(folder.file("kmwin64.exe"));
  EXPECT_FALSE(platform.createProcess(missing, missing, true, kNormalPriorityClass, StartupRecord{},
                                      process, error));
  EXPECT_EQ(error, 2);
}

// Where the job cannot adopt the solver (a checker that runs in a job of its
// own on Windows 7), Stop must end the solver itself: here another platform,
// and so another job, started it.
TEST_F(Win32Solver, StopEndsASolverOutsideItsJob) {
  Win32Platform starter;
  ProcessRecord process;
  std::int32_t error = 0;
  const std::string input = folder.put("TMP_INPUT.INP", "%standin sleep 60000\r\n");
  ASSERT_TRUE(StartHidden(starter, solver, solver + " \"" + input + "\"", process, error));
  platform.terminateProcess(process.processId, 1);
  WaitOutcome outcome{};
  EXPECT_LT(waitInSlices(process, 500, outcome), 500) << "the solver still runs after 5 s";
  starter.closeProcessHandles(process);
}

TEST_F(Win32Solver, RunsLeaveNoHandleOfTheCheckerBehind) {
  const auto run = [this] {
    ProcessRecord process;
    ASSERT_TRUE(start("", true, process));
    WaitOutcome outcome{};
    waitInSlices(process, 3000, outcome);
    platform.closeProcessHandles(process);
  };
  run();  // the first run may open what stays open for good
  const probes::HandleCount before = probes::OpenHandles();
  for (int i = 0; i < 3; ++i) run();
  EXPECT_EQ(probes::OpenHandles().count, before.count) << "counted by " << before.source;
}

constexpr const wchar_t* kHelperVariable = L"KALMOR_SOLVER_TREE_HELPER";

// Run again as a checker of its own (the variable names solver and command
// line): start the solver tree, then wait to be killed.
const bool kRanAsHelper = [] {
  const wchar_t* value = ::_wgetenv(kHelperVariable);
  if (value == nullptr) return false;
  const std::string paths = WideToUtf8(value);
  Win32Platform platform;
  ProcessRecord process;
  std::int32_t error = 0;
  const std::size_t bar = paths.find('|');
  if (!StartHidden(platform, paths.substr(0, bar), paths.substr(bar + 1), process, error)) {
    ::ExitProcess(3);
  }
  ::Sleep(INFINITE);
  return true;
}();

// A sleeping stand-in that has started a sleeping child, under a name no
// other test uses, so that the census counts this tree alone. The solver and
// everything it starts end together: on Stop, and when the checker itself is
// killed (its job object closes with it).
class SolverTree : public Win32Files {
 protected:
  SolverTree() {
    prefix = "kmtree" + std::to_string(::GetCurrentProcessId());
    std::filesystem::copy_file(KALMOR_STANDIN_SOLVER, folder.path() / (prefix + ".exe"));
    solver = folder.file(prefix + ".exe");
    const std::string input =
        folder.put("TMP_INPUT.INP", "%standin child 60000\r\n%standin sleep 60000\r\n");
    commandLine = solver + " \"" + input + "\"";
  }
  ~SolverTree() override {
    for (const std::uint32_t id : probes::ProcessesNamed(prefix)) {
      End(::OpenProcess(PROCESS_TERMINATE, FALSE, id));
    }
  }
  static void End(HANDLE process) {
    ::TerminateProcess(process, 9);
    ::CloseHandle(process);
  }
  bool treeBecomes(std::size_t size, int seconds) const {
    return testing::Eventually(std::chrono::seconds(seconds),
                               [&] { return probes::ProcessesNamed(prefix).size() == size; });
  }
  std::string prefix, solver, commandLine;
};

TEST_F(SolverTree, StopEndsTheSolverAndItsChild) {
  ProcessRecord process;
  std::int32_t error = 0;
  ASSERT_TRUE(StartHidden(platform, solver, commandLine, process, error)) << "error " << error;
  ASSERT_TRUE(treeBecomes(2, 20));
  platform.terminateProcess(process.processId, 1);
  EXPECT_TRUE(treeBecomes(0, 5)) << probes::ProcessesNamed(prefix).size() << " processes left";
  platform.closeProcessHandles(process);
}

TEST_F(SolverTree, KillingTheCheckerEndsTheSolverAndItsChild) {
  ASSERT_FALSE(kRanAsHelper);
  std::wstring self(MAX_PATH * 4, L'\0');
  self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  std::wstring command = L"\"" + self + L"\" --gtest_filter=None";
  ::SetEnvironmentVariableW(kHelperVariable, FromUtf8(solver + "|" + commandLine).c_str());
  STARTUPINFOW start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION checker{};
  const BOOL started = ::CreateProcessW(self.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &start, &checker);
  ::SetEnvironmentVariableW(kHelperVariable, nullptr);
  ASSERT_TRUE(started) << "error " << ::GetLastError();
  ::CloseHandle(checker.hThread);
  EXPECT_TRUE(treeBecomes(2, 20));
  End(checker.hProcess);
  EXPECT_TRUE(treeBecomes(0, 5)) << probes::ProcessesNamed(prefix).size() << " processes left";
}

}  // namespace
}  // namespace kalmor
