// Ctrl+C to kalmor-check during a run: the solver goes with it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/eventually.h"

namespace {

namespace fs = std::filesystem;
using kalmor::testing::Eventually;

// Live processes running this file; a killed one that is not yet reaped has none.
int ProcessesRunning(const fs::path& program) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::error_code error;
    if (fs::read_symlink(entry.path() / "exe", error) == program) ++count;
  }
  return count;
}

TEST(KalmorCheckInterrupt, CtrlCEndsTheSolverAndExitsWithOne) {
  char pattern[] = "/tmp/kalmor-cli-XXXXXX";
  const fs::path folder = ::mkdtemp(pattern);
  fs::copy_file(KALMOR_STANDIN_SOLVER, folder / "kmwin32.exe");
  fs::copy_file(KALMOR_STANDIN_SOLVER, folder / "kmwin64.exe");
  std::ofstream(folder / "test_#3.INP") << "%standin sleep 30000\r\n<Protokoll>\r\n";

  const pid_t check = ::fork();
  if (check == 0) {
    std::freopen((folder / "stderr.txt").c_str(), "w", stderr);
    ::execl(KALMOR_CHECK, KALMOR_CHECK, "--folder", folder.c_str(), "--build", "32", "--lang",
            "en", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  Eventually(std::chrono::seconds(20), [&] { return ProcessesRunning(folder / "kmwin32.exe") > 0; });
  ASSERT_EQ(ProcessesRunning(folder / "kmwin32.exe"), 1) << "the solver never started";

  ::kill(check, SIGINT);
  int status = 0;
  ASSERT_EQ(::waitpid(check, &status, 0), check);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  std::stringstream text;
  text << std::ifstream(folder / "stderr.txt").rdbuf();
  EXPECT_EQ(text.str(), "\nAborted: Kalmor was ended.\n");
  // A killed process may take a moment to die; one that lives on is the fault.
  EXPECT_TRUE(Eventually(std::chrono::seconds(2),
                         [&] { return ProcessesRunning(folder / "kmwin32.exe") == 0; }));
  fs::remove_all(folder);
}

}  // namespace
