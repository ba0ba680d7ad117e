// The solver and everything it starts end together: on Stop, and when the
// checker itself is killed (its job object closes with it).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/win32/test_probes/process_census.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_text.h"
#include "tests/support/eventually.h"
#include "tests/win32/scratch_folder.h"

namespace kalmor {
namespace {

using testing::Eventually;
using testing::ScratchFolder;
using testing::Utf8;

constexpr const wchar_t* kHelperVariable = L"KALMOR_SOLVER_TREE_HELPER";

bool StartSolver(Platform& platform, const std::string& solver, const std::string& input,
                 ProcessRecord& process) {
  StartupRecord start;
  start.cb = sizeof(void*) == 4 ? 68 : 104;
  start.dwFlags = kStartfUseShowWindow;
  start.wShowWindow = kSwHide;
  std::int32_t error = 0;
  return platform.createProcess(platform.toAnsi(solver),
                                platform.toAnsi(solver + " \"" + input + "\""), true,
                                kNormalPriorityClass, start, process, error);
}

// Run again as a checker of its own (the variable names solver and input):
// start the solver tree, then wait to be killed.
const bool kRanAsHelper = [] {
  const wchar_t* value = ::_wgetenv(kHelperVariable);
  if (value == nullptr) return false;
  const std::string paths = WideToUtf8(value);
  Win32Platform platform;
  ProcessRecord process;
  const std::size_t bar = paths.find('|');
  if (!StartSolver(platform, paths.substr(0, bar), paths.substr(bar + 1), process)) {
    ::ExitProcess(3);
  }
  ::Sleep(INFINITE);
  return true;
}();

// A sleeping stand-in that has started a sleeping child, under a name no
// other test uses, so that the census counts this tree alone.
class SolverTree : public ::testing::Test {
 protected:
  SolverTree() {
    const std::string name = "kmtree" + std::to_string(::GetCurrentProcessId()) + ".exe";
    std::filesystem::copy_file(KALMOR_STANDIN_SOLVER, folder.path() / name);
    solver = Utf8(folder.path()) + "\\" + name;
    input = folder.put("TMP_INPUT.INP", "%standin child 60000\r\n%standin sleep 60000\r\n");
    prefix = name.substr(0, name.size() - 4);
  }
  ~SolverTree() override {
    for (const std::uint32_t id : probes::ProcessesNamed(prefix)) {
      const HANDLE process = ::OpenProcess(PROCESS_TERMINATE, FALSE, id);
      ::TerminateProcess(process, 9);
      ::CloseHandle(process);
    }
  }
  std::size_t treeSize() const { return probes::ProcessesNamed(prefix).size(); }
  bool treeBecomes(std::size_t size, int seconds) const {
    return Eventually(std::chrono::seconds(seconds), [&] { return treeSize() == size; });
  }

  ScratchFolder folder;
  std::string solver;
  std::string input;
  std::string prefix;
};

TEST_F(SolverTree, StopEndsTheSolverAndItsChild) {
  Win32Platform platform;
  ProcessRecord process;
  ASSERT_TRUE(StartSolver(platform, solver, input, process));
  ASSERT_TRUE(treeBecomes(2, 20)) << treeSize() << " processes";
  platform.terminateProcess(process.processId, 1);
  EXPECT_TRUE(treeBecomes(0, 5)) << treeSize() << " processes left";
  platform.closeProcessHandles(process);
}

TEST_F(SolverTree, KillingTheCheckerEndsTheSolverAndItsChild) {
  ASSERT_FALSE(kRanAsHelper);
  std::wstring self(MAX_PATH * 4, L'\0');
  self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  std::wstring commandLine = L"\"" + self + L"\" --gtest_filter=None";
  const std::wstring value = testing::FromUtf8(solver + "|" + input).wstring();
  ::SetEnvironmentVariableW(kHelperVariable, value.c_str());
  STARTUPINFOW start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION checker{};
  const BOOL started = ::CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                        0, nullptr, nullptr, &start, &checker);
  ::SetEnvironmentVariableW(kHelperVariable, nullptr);
  ASSERT_TRUE(started) << "error " << ::GetLastError();

  EXPECT_TRUE(treeBecomes(2, 20)) << treeSize() << " processes";
  ::TerminateProcess(checker.hProcess, 1);
  EXPECT_EQ(::WaitForSingleObject(checker.hProcess, 5000), WAIT_OBJECT_0);
  ::CloseHandle(checker.hThread);
  ::CloseHandle(checker.hProcess);
  EXPECT_TRUE(treeBecomes(0, 5)) << treeSize() << " processes left";
}

}  // namespace
}  // namespace kalmor
