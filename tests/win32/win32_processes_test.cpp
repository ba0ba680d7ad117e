#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32/test_probes/process_exit_code.h"
#include "platform/win32/win32_platform.h"
#include "platform/windows_command_line.h"
#include "tests/win32/scratch_folder.h"
#include "tools/standin_solver/command_tail.h"

namespace kalmor {
namespace {

using testing::FromUtf8;
using testing::ScratchFolder;
using testing::Utf8;

constexpr std::int32_t kErrorFileNotFound = 2;
constexpr int kSliceMs = 10;

StartupRecord HiddenStart() {
  StartupRecord start;
  start.cb = sizeof(void*) == 4 ? 68 : 104;
  start.dwFlags = kStartfUseShowWindow;
  start.wShowWindow = kSwHide;
  return start;
}

struct WaitResult {
  WaitOutcome outcome = WaitOutcome::Timeout;
  int timeouts = 0;
};

// The window's wait: 10 ms slices until anything but a time-out.
WaitResult WaitInSlices(Platform& platform, const ProcessRecord& process, int maxSlices) {
  WaitResult result;
  for (int slice = 0; slice < maxSlices; ++slice) {
    result.outcome = platform.waitForProcess(process, kSliceMs);
    if (result.outcome != WaitOutcome::Timeout) break;
    ++result.timeouts;
  }
  return result;
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The stand-in solver as kmwin32.exe in a folder with blanks (and a decoy
// where an unquoted program path would lead the system first), and a task
// file whose protocol line points at KM.OUT.
class Win32Processes : public ::testing::Test {
 protected:
  Win32Processes() {
    const std::filesystem::path solverFolder = folder.path() / "solver dir with blanks";
    std::filesystem::create_directory(solverFolder);
    std::filesystem::copy_file(KALMOR_STANDIN_SOLVER, solverFolder / "kmwin32.exe");
    solver = Utf8(solverFolder) + "\\kmwin32.exe";
    output = folder.file("KM.OUT");
  }

  std::string writeTask(const std::string& directives) {
    return folder.put("TMP_INPUT.INP", directives + "Protokoll " + platform.toAnsi(output) +
                                           "\r\nweiss Ka1 Dd1\r\n");
  }

  bool start(const std::string& commandLine, ProcessRecord& process, std::int32_t& error) {
    return platform.createProcess(platform.toAnsi(solver), platform.toAnsi(commandLine), true,
                                  kNormalPriorityClass, HiddenStart(), process, error);
  }

  // The calls log line the stand-in writes when it receives this command line.
  std::string expectedCallsLine(const std::string& commandLine) {
    return standin::CallsLogLine(SplitCommandTail(platform.toAnsi(commandLine))) + "\n";
  }

  std::string callsLog() { return ReadText(folder.path() / "standin_calls.log"); }

  ScratchFolder folder;
  Win32Platform platform;
  std::string solver;
  std::string output;
};

TEST_F(Win32Processes, AMissingSolverFailsWithTheSystemsError2) {
  ProcessRecord process;
  std::int32_t error = 0;
  EXPECT_FALSE(platform.createProcess(platform.toAnsi(folder.file("kmwin64.exe")),
                                      platform.toAnsi(folder.file("kmwin64.exe")), true,
                                      kNormalPriorityClass, HiddenStart(), process, error));
  EXPECT_EQ(error, kErrorFileNotFound);
  EXPECT_EQ(process.process, 0);
  EXPECT_EQ(process.processId, 0u);
}

TEST_F(Win32Processes, TheNamedSolverRunsHiddenToItsEndWithBlanksInBothPaths) {
  // With no application name the system would try this file first.
  std::filesystem::copy_file("C:/windows/system32/hostname.exe", folder.path() / "solver.exe");
  const std::string input = writeTask("%standin sleep 300\r\n");
  const std::string commandLine = solver + " \"" + input + "\"";

  ProcessRecord process;
  std::int32_t error = 0;
  ASSERT_TRUE(start(commandLine, process, error)) << "error " << error;
  EXPECT_NE(process.process, 0);
  EXPECT_NE(process.thread, 0);
  EXPECT_NE(process.processId, 0u);
  EXPECT_NE(process.threadId, 0u);

  const WaitResult waited = WaitInSlices(platform, process, 3000);
  EXPECT_EQ(waited.outcome, WaitOutcome::Ended);
  EXPECT_GE(waited.timeouts, 5) << "a 300 ms solver outlasts several 10 ms slices";
  EXPECT_EQ(probes::ProcessExitCode(process), 0u);
  EXPECT_TRUE(platform.plainFileExists(output)) << "the stand-in, not the decoy, ran";
  EXPECT_EQ(callsLog(), expectedCallsLine(commandLine)) << "the command line arrives verbatim";

  // A late Stop finds the process ended: nothing happens to it.
  platform.terminateProcess(process.processId, 1);
  EXPECT_EQ(probes::ProcessExitCode(process), 0u);

  platform.closeProcessHandles(process);
  EXPECT_EQ(process.process, 0);
  EXPECT_EQ(process.thread, 0);
  EXPECT_EQ(platform.waitForProcess(process, kSliceMs), WaitOutcome::Failed);
}

TEST_F(Win32Processes, ABareInputPathReachesTheSolverAsSeveralWords) {
  const std::string input = writeTask("");
  const std::string commandLine = solver + " " + input;

  ProcessRecord process;
  std::int32_t error = 0;
  ASSERT_TRUE(start(commandLine, process, error)) << "error " << error;
  EXPECT_EQ(WaitInSlices(platform, process, 3000).outcome, WaitOutcome::Ended);
  platform.closeProcessHandles(process);

  const std::string log = callsLog();
  EXPECT_EQ(log, expectedCallsLine(commandLine));
  EXPECT_EQ(log.find("[" + platform.toAnsi(input) + "]"), std::string::npos);
}

TEST_F(Win32Processes, TerminatingARunningSolverEndsItWithExitCode1) {
  writeTask("%standin sleep 60000\r\n");
  ProcessRecord process;
  std::int32_t error = 0;
  ASSERT_TRUE(start(solver + " \"" + folder.file("TMP_INPUT.INP") + "\"", process, error))
      << "error " << error;
  EXPECT_EQ(WaitInSlices(platform, process, 20).timeouts, 20);
  EXPECT_EQ(probes::ProcessExitCode(process), std::nullopt) << "still running";

  platform.terminateProcess(process.processId, 1);
  EXPECT_EQ(WaitInSlices(platform, process, 1000).outcome, WaitOutcome::Ended);
  EXPECT_EQ(probes::ProcessExitCode(process), 1u);
  EXPECT_FALSE(platform.plainFileExists(output));
  platform.closeProcessHandles(process);
}

}  // namespace
}  // namespace kalmor
