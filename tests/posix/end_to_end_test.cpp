// Whole test runs with the real stand-in solver in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/posix/posix_platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void Spit(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override { makeFolder("checker"); }
  void TearDown() override { fs::remove_all(base_); }

  void makeFolder(const std::string& name) {
    if (base_.empty()) {
      char pattern[] = "/tmp/kalmor-e2e-XXXXXX";
      base_ = ::mkdtemp(pattern);
    }
    folder_ = base_ / name;
    fs::create_directories(folder_);
    for (const char* solver : {"kmwin32.exe", "kmwin64.exe"}) {
      fs::copy_file(KALMOR_STANDIN_SOLVER, folder_ / solver, fs::copy_options::overwrite_existing);
    }
  }

  void task(const std::string& body, const char* name = "test_#3.INP") {
    Spit(folder_ / name, body);
  }

  frmKalmorChecker& load() {
    // A German system, so the texts do not depend on this machine.
    fs::create_directories(base_ / "root/etc/default");
    Spit(base_ / "root/etc/default/locale", "LANG=de_DE.UTF-8\n");
    platform_ = std::make_unique<PosixPlatform>(folder_.string(), base_ / "root");
    window_ = std::make_unique<frmKalmorChecker>(*platform_, toolkit_);
    toolkit_.attach(*window_);
    window_->Form_Load();
    return *window_;
  }

  fs::path base_;
  fs::path folder_;
  HeadlessToolkit toolkit_;
  std::unique_ptr<PosixPlatform> platform_;
  std::unique_ptr<frmKalmorChecker> window_;
};

TEST_F(EndToEnd, PassWritesTheInputAndShowsTheFirstLine) {
  task("Stipulation #3\r\n<Protokoll>\r\nKd1 Qh5\r\n");
  auto& f = load();
  toolkit_.click(f.cmdOK);
  EXPECT_EQ(f.lblStatus.caption(), "Test erfolgreich abgeschlossen!") << f.lblResult.caption();
  EXPECT_EQ(Slurp(folder_ / "TMP_INPUT.INP"),
            "Stipulation #3\r\nProtokoll " + (folder_ / "KM.OUT").string() + "\r\nKd1 Qh5\r\n");
  const std::string firstLine = Slurp(folder_ / "KM.OUT").substr(0, Slurp(folder_ / "KM.OUT").find('\r'));
  EXPECT_FALSE(firstLine.empty());
  EXPECT_EQ(f.lblResult.caption(), "Lösungs-Datei erstellt: KM.OUT\r" + firstLine);
  EXPECT_EQ(f.uProc.processId, 0u);  // handles closed, the solver reaped
}

TEST_F(EndToEnd, OutcomesFollowTheOutputFileNotTheExitCode) {
  struct Case {
    const char* directives;
    const char* status;
  };
  const Case cases[] = {
      {"%standin nowrite\r\n", "Test fehlgeschlagen!"},
      {"%standin empty\r\n", "Test erfolgreich abgeschlossen!"},
      {"%standin exit 3\r\n", "Test erfolgreich abgeschlossen!"},
      {"%standin crash\r\n", "Test erfolgreich abgeschlossen!"},
      {"%standin nowrite\r\n%standin crash\r\n", "Test fehlgeschlagen!"},
  };
  for (const Case& c : cases) {
    task(std::string(c.directives) + "<Protokoll>\r\n");
    auto& f = load();
    toolkit_.click(f.cmdOK);
    EXPECT_EQ(f.lblStatus.caption(), c.status) << c.directives;
    EXPECT_EQ(f.cmdOK.caption(), "&Start");
  }
}

TEST_F(EndToEnd, SolverThatCannotStartShowsTheSystemError) {
  task("<Protokoll>\r\n");
  fs::remove(folder_ / "kmwin64.exe");
  fs::permissions(folder_ / "kmwin32.exe", fs::perms::owner_read | fs::perms::owner_write);
  auto& f = load();
  EXPECT_EQ(f.lblStatus.caption(), "kmwin64.exe fehlt/is missing!");
  toolkit_.choose(f.lstLanguage, 1);
  toolkit_.click(f.cmdOK);
  EXPECT_EQ(f.lblResult.caption(), "Error number: 2\rNo such file or directory");
  EXPECT_EQ(f.lblStatus.caption(), "Ready");

  toolkit_.choose(f.lstKalmorBitVersion, 0);
  toolkit_.click(f.cmdOK);
  EXPECT_EQ(f.lblResult.caption(), "Error number: 13\rPermission denied");
}

TEST_F(EndToEnd, CallingModesInAFolderWithBlanks) {
  makeFolder("Prüf Ordner");
  task("<Protokoll>\r\n");
  auto& f = load();
  for (int mode = 0; mode < 4; ++mode) {
    toolkit_.choose(f.lstKalmorCallingMode, mode);
    toolkit_.click(f.cmdOK);
    EXPECT_EQ(f.lblStatus.caption(), "Test erfolgreich abgeschlossen!") << mode;
  }
  // argv[0] is the solver's own path; the rest as a Windows runtime cuts it.
  const std::string program = "[" + (folder_ / "kmwin64.exe").string() + "]";
  const std::string quoted = "2 " + program + " [" + (folder_ / "TMP_INPUT.INP").string() + "]";
  const std::string split =
      "3 " + program + " [" + (base_ / "Prüf").string() + "] [Ordner/TMP_INPUT.INP]";
  EXPECT_EQ(Slurp(folder_ / "standin_calls.log"),
            quoted + "\n" + quoted + "\n" + split + "\n" + split + "\n");
}

TEST_F(EndToEnd, TheSolverGetsNoDescriptorsOfOurs) {
  task("%standin sleep 300\r\n<Protokoll>\r\n");
  auto& f = load();
  std::string openFds;
  toolkit_.atPump(3, [&] {
    const fs::path fdDir = fs::path("/proc") / std::to_string(f.uProc.processId) / "fd";
    for (const auto& entry : fs::directory_iterator(fdDir)) {
      openFds += entry.path().filename().string() + "->" +
                 fs::read_symlink(entry.path()).string() + " ";
    }
  });
  toolkit_.click(f.cmdOK);
  EXPECT_EQ(openFds.find("3->"), std::string::npos) << openFds;
  EXPECT_NE(openFds.find("0->/dev/null"), std::string::npos) << openFds;
  EXPECT_NE(openFds.find("1->/dev/null"), std::string::npos) << openFds;
}

}  // namespace
}  // namespace kalmor
