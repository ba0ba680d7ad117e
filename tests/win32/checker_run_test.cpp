// Whole test runs of the checker window on the Windows platform, with the
// stand-in solver as both solver builds in a folder with blanks.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/win32/win32_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "tests/win32/scratch_folder.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor {
namespace {

using testing::FromUtf8;
using testing::ScratchFolder;

constexpr int kEnglish = 1;

class CheckerRun : public ::testing::Test {
 protected:
  CheckerRun() : platform(testing::Utf8(folder.path())) {
    for (const char* build : {"kmwin32.exe", "kmwin64.exe"}) {
      std::filesystem::copy_file(KALMOR_STANDIN_SOLVER, folder.path() / build);
    }
  }

  frmKalmorChecker& load(const std::string& directives) {
    folder.put("test_#3.INP", directives + "<Protokoll>\r\nweiss Ka1 Dd1\r\n");
    window = std::make_unique<frmKalmorChecker>(platform, toolkit);
    toolkit.attach(*window);
    window->Form_Load();
    toolkit.choose(window->lstLanguage, kEnglish);
    return *window;
  }

  // Presses Start, and Stop at the pump where stopAt holds; returns how long it took.
  std::chrono::steady_clock::duration press(std::function<bool(int)> stopAt) {
    toolkit.onEveryPump([this, stopAt](int pump) {
      if (window->RunInProgress && stopAt(pump)) toolkit.click(window->cmdOK);
    });
    const auto started = std::chrono::steady_clock::now();
    toolkit.click(window->cmdOK);
    toolkit.onEveryPump(nullptr);
    return std::chrono::steady_clock::now() - started;
  }

  std::string firstLineOf(const std::string& name) {
    std::ifstream file(folder.path() / FromUtf8(name), std::ios::binary);
    std::string line;
    std::getline(file, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

  ScratchFolder folder;
  Win32Platform platform;
  HeadlessToolkit toolkit;
  std::unique_ptr<frmKalmorChecker> window;
};

TEST_F(CheckerRun, ASolverThatWritesItsProtocolPasses) {
  auto& f = load("%standin sleep 200\r\n");
  press([](int) { return false; });

  EXPECT_EQ(f.lblStatus.caption(), "Test finished successfully!");
  ASSERT_TRUE(platform.plainFileExists(folder.file("KM.OUT")));
  const std::string firstLine = firstLineOf("KM.OUT");
  EXPECT_FALSE(firstLine.empty());
  EXPECT_NE(f.lblResult.caption().find(firstLine), std::string::npos) << f.lblResult.caption();
  EXPECT_FALSE(f.StartFailed);
  EXPECT_FALSE(f.SolverRunning);
  EXPECT_GT(toolkit.pumps(), 5) << "the window stayed live while the solver ran";
}

TEST_F(CheckerRun, StopEndsALongSolverAtOnce) {
  auto& f = load("%standin sleep 60000\r\n");
  const auto took = press([](int pump) { return pump >= 20; });

  EXPECT_LT(took, std::chrono::seconds(20));
  EXPECT_EQ(f.lblStatus.caption(), "Test has been aborted");
  EXPECT_FALSE(platform.plainFileExists(folder.file("KM.OUT")));
  EXPECT_EQ(f.cmdOK.caption(), "&Start");
}

TEST_F(CheckerRun, ASolverThatIsNoProgramShowsTheSystemsErrorText) {
  auto& f = load("");
  for (const char* build : {"kmwin32.exe", "kmwin64.exe"}) {
    folder.put(build, "MZ, but not a program");
  }
  press([](int) { return false; });

  EXPECT_TRUE(f.StartFailed);
  EXPECT_EQ(f.lblResult.foreColour(), kRed);
  const std::string& result = f.lblResult.caption();
  EXPECT_EQ(result.substr(0, result.find('\r')), "Error number: 193") << "bad program format";
  // The system's text for it carries "%1", which names the solver's file.
  const std::string text = result.substr(result.find('\r') + 1);
  EXPECT_EQ(text.find("Unbekannter Fehler"), std::string::npos) << text;
  EXPECT_EQ(text.find("%1"), std::string::npos) << text;
  EXPECT_NE(text.find(f.SolverExe), std::string::npos) << text;
}

}  // namespace
}  // namespace kalmor
