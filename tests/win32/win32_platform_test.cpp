// The Windows platform's files and solver processes against the real calls.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/win32_platform.h"
#include "platform/windows_command_line.h"
#include "tests/support/win32/file_marks.h"
#include "tests/support/win32/process_census.h"
#include "tests/support/win32/process_exit_code.h"
#include "tests/win32/scratch_folder.h"
#include "tools/standin_solver/command_tail.h"

namespace kalmor {
namespace {

using testing::ScratchFolder;

std::string ReadAll(InputFile& file) {
  std::string bytes;
  std::string buffer(7, '\0');
  std::int32_t error = 0;
  while (const std::size_t got = file.read(buffer.data(), buffer.size(), error)) bytes.append(buffer, 0, got);
  EXPECT_EQ(error, 0);
  return bytes;
}

class Win32Files : public ::testing::Test {
 protected:
  ScratchFolder folder;
  Win32Platform platform;
};

TEST_F(Win32Files, FindsPlainFilesOnly) {
  const std::string plain = folder.put("test_#3.INP", "task");
  ASSERT_TRUE(probes::MarkFile(folder.put("hidden.INP", "task"), probes::FileMark::Hidden));
  ASSERT_TRUE(probes::MarkFile(folder.put("system.INP", "task"), probes::FileMark::System));
  std::filesystem::create_directory(folder.path() / "kmwin32.exe");
  EXPECT_TRUE(platform.plainFileExists(plain));
  EXPECT_TRUE(platform.plainFileExists(testing::Utf8(folder.path()) + "/test_#3.INP")) << "joined with a slash";
  for (const char* name : {"hidden.INP", "system.INP", "kmwin32.exe", "test_#4.INP", "no such folder\\x.INP"}) {
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
  EXPECT_EQ(platform.openForWriting(folder.file("no such folder\\KM.OUT"), error), nullptr);
  const std::string path = folder.put("KM.OUT", "protocol");
  error = 0;
  EXPECT_TRUE(platform.deleteFile(path, error));
  EXPECT_FALSE(std::filesystem::exists(testing::FromUtf8(path)));
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
    solver = testing::Utf8(solverFolder) + "\\kmwin32.exe";
  }
  // Starts the solver hidden on an input with these directives; false if it could not.
  bool start(const std::string& directives, bool quoted, ProcessRecord& process, std::int32_t& error) {
    input = folder.put("TMP_INPUT.INP", directives + "Protokoll " + platform.toAnsi(folder.file("KM.OUT")) + "\r\nwKa1\r\n");
    commandLine = solver + (quoted ? " \"" + input + "\"" : " " + input);
    StartupRecord hidden;
    hidden.cb = sizeof(void*) == 4 ? 68 : 104;
    hidden.dwFlags = kStartfUseShowWindow;
    hidden.wShowWindow = kSwHide;
    return platform.createProcess(platform.toAnsi(solver), platform.toAnsi(commandLine), true, kNormalPriorityClass,
                                  hidden, process, error);
  }
  // Waits in the window's 10 ms slices; the number of slices that timed out.
  int waitInSlices(const ProcessRecord& process, int most, WaitOutcome& outcome) {
    int timeouts = 0;
    while ((outcome = platform.waitForProcess(process, 10)) == WaitOutcome::Timeout && ++timeouts < most) {
    }
    return timeouts;
  }
  std::string callsLog() {
    std::ifstream file(folder.path() / "standin_calls.log", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }
  std::string solver, input, commandLine;
};

TEST_F(Win32Solver, ANamedSolverRunsHiddenToItsEndWithItsCommandLineVerbatim) {
  for (const bool quoted : {true, false}) {
    ProcessRecord process;
    std::int32_t error = 0;
    ASSERT_TRUE(start("%standin sleep 300\r\n", quoted, process, error)) << "error " << error;
    WaitOutcome outcome{};
    EXPECT_GE(waitInSlices(process, 3000, outcome), 5) << "a 300 ms solver outlasts several 10 ms slices";
    EXPECT_EQ(outcome, WaitOutcome::Ended);
    EXPECT_EQ(probes::ProcessExitCode(process), 0u);
    EXPECT_TRUE(platform.plainFileExists(folder.file("KM.OUT"))) << "the stand-in, not the decoy, ran";
    EXPECT_EQ(callsLog(), standin::CallsLogLine(SplitCommandTail(platform.toAnsi(commandLine))) + "\n");
    platform.terminateProcess(process.processId, 1);  // a late Stop finds it ended
    EXPECT_EQ(probes::ProcessExitCode(process), 0u);
    platform.closeProcessHandles(process);
    EXPECT_EQ(platform.waitForProcess(process, 10), WaitOutcome::Failed);
    std::filesystem::remove(folder.path() / "standin_calls.log");
    std::filesystem::remove(folder.path() / "KM.OUT");
  }
  ProcessRecord process;
  std::int32_t error = 0;
  const std::string missing = platform.toAnsi(folder.file("kmwin64.exe"));
  EXPECT_FALSE(platform.createProcess(missing, missing, true, kNormalPriorityClass, StartupRecord{}, process, error));
  EXPECT_EQ(error, 2);
}

TEST_F(Win32Solver, TerminatingARunningSolverEndsItAtOnceWithExitCode1) {
  ProcessRecord process;
  std::int32_t error = 0;
  ASSERT_TRUE(start("%standin sleep 60000\r\n", true, process, error)) << "error " << error;
  WaitOutcome outcome{};
  EXPECT_EQ(waitInSlices(process, 20, outcome), 20);
  platform.terminateProcess(process.processId, 1);
  EXPECT_LT(waitInSlices(process, 1000, outcome), 1000);
  EXPECT_EQ(outcome, WaitOutcome::Ended);
  EXPECT_EQ(probes::ProcessExitCode(process), 1u);
  EXPECT_FALSE(platform.plainFileExists(folder.file("KM.OUT")));
  platform.closeProcessHandles(process);
}

TEST_F(Win32Solver, RunsLeaveNoHandleOfTheCheckerBehind) {
  const auto run = [this] {
    ProcessRecord process;
    std::int32_t error = 0;
    ASSERT_TRUE(start("", true, process, error)) << "error " << error;
    WaitOutcome outcome{};
    waitInSlices(process, 3000, outcome);
    platform.closeProcessHandles(process);
  };
  run();  // the first run may open what stays open for good
  const probes::HandleCount before = probes::OpenHandles();
  for (int i = 0; i < 3; ++i) run();
  EXPECT_EQ(probes::OpenHandles().count, before.count) << "counted by " << before.source;
}

}  // namespace
}  // namespace kalmor
