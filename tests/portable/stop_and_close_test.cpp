#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"

namespace kalmor::testing {
namespace {

class StopAndClose : public WindowTest {
 protected:
  void SetUp() override {
    putEverything();
    platform.solver.slices = 1000;
    platform.solver.onExit = [this](const std::string&) { platform.put("KM.OUT", "late\r\n"); };
  }
};

TEST_F(StopAndClose, StopEndsTheSolverAndSkipsJudging) {
  auto& f = load();
  toolkit.choose(f.lstLanguage, 1);
  toolkit.atPump(3, [&] { toolkit.click(f.cmdOK); });
  toolkit.click(f.cmdOK);
  ASSERT_EQ(platform.terminated.size(), 1u);
  EXPECT_EQ(platform.terminated[0], platform.creates.size() == 1 ? 1000u : 0u);
  EXPECT_EQ(toolkit.pumps(), 3);
  EXPECT_EQ(f.lblStatus.caption(), "Test has been aborted");
  EXPECT_EQ(f.lblResult.caption(), "");
  EXPECT_EQ(f.bild0.picture(), Picture::Error);
  EXPECT_TRUE(f.bild0.visible());
  EXPECT_EQ(f.cmdOK.caption(), "&Start");
  EXPECT_FALSE(f.RunInProgress);
  EXPECT_FALSE(f.AbortRequested);
  EXPECT_FALSE(f.SolverKilled);
  EXPECT_FALSE(f.SolverRunning);
  EXPECT_FALSE(f.Timer1.enabled());
  EXPECT_EQ(platform.openProcesses, 0);
  // The interim text of a solver that ended by itself is never painted.
  for (const auto& painted : toolkit.repaints()) EXPECT_NE(painted, "Prüfung beendet");
}

TEST_F(StopAndClose, StopSeenInTheSameSliceAsTheSolverEndWinsAsAbort) {
  platform.solver.slices = 2;  // ends at the third wait
  auto& f = load();
  toolkit.atPump(2, [&] { toolkit.click(f.cmdOK); });
  toolkit.click(f.cmdOK);
  EXPECT_EQ(platform.terminated.size(), 1u);
  EXPECT_EQ(f.lblStatus.caption(), "Test wurde abgebrochen");
  EXPECT_FALSE(platform.has("KM.OUT"));
}

TEST_F(StopAndClose, PressAfterTheEndIsANewStart) {
  platform.solver.slices = 1;
  auto& f = load();
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblStatus.caption(), "Test erfolgreich abgeschlossen!");
  toolkit.click(f.cmdOK);
  EXPECT_EQ(platform.creates.size(), 2u);
  EXPECT_TRUE(platform.terminated.empty());
}

TEST_F(StopAndClose, LanguageChangeMidRunKeepsTheButtonAStop) {
  auto& f = load();
  std::string captionDuringRun;
  std::string statusDuringRun;
  toolkit.atPump(2, [&] { toolkit.choose(f.lstLanguage, 1); });
  toolkit.atPump(3, [&] {
    captionDuringRun = f.cmdOK.caption();
    statusDuringRun = f.lblStatus.caption();
    toolkit.click(f.cmdOK);
  });
  toolkit.click(f.cmdOK);
  EXPECT_EQ(captionDuringRun, "Start");
  EXPECT_EQ(statusDuringRun, "Prüfung läuft...");  // a started run keeps its status text
  EXPECT_EQ(f.lblStatus.caption(), "Test has been aborted");
  EXPECT_EQ(f.cmdOK.caption(), "&Start");
}

TEST_F(StopAndClose, ResultsUseTheLanguageCurrentAtTheirTime) {
  platform.solver.slices = 3;
  auto& f = load();
  toolkit.atPump(1, [&] { toolkit.choose(f.lstLanguage, 1); });
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblStatus.caption(), "Test finished successfully!");
  toolkit.choose(f.lstLanguage, 0);
  EXPECT_EQ(f.lblStatus.caption(), "Test finished successfully!");
  EXPECT_EQ(f.cmdOK.caption(), "Starten");
}

TEST_F(StopAndClose, ChoosingABuildMidRunRewritesTheStatusLineAtOnce) {
  platform.file("kmwin32.exe").folder = true;
  auto& f = load();
  std::string status;
  toolkit.atPump(2, [&] {
    toolkit.choose(f.lstKalmorBitVersion, 0);
    status = f.lblStatus.caption();
    toolkit.click(f.cmdOK);
  });
  toolkit.click(f.cmdOK);
  EXPECT_EQ(status, "kmwin32.exe fehlt/is missing!");
  EXPECT_EQ(platform.creates[0].applicationName, "C:\\Kalmor\\kmwin64.exe");
}

TEST_F(StopAndClose, ClosingMidRunTerminatesTheSolverAndEndsAtOnce) {
  for (bool byButton : {false, true}) {
    FakePlatform p;
    for (const char* n : {"test_#3.INP", "kmwin32.exe", "kmwin64.exe"}) p.put(n, "t\r\n");
    p.solver.slices = 1000;
    HeadlessToolkit t;
    frmKalmorChecker f(p, t);
    t.attach(f);
    f.Form_Load();
    t.atPump(2, [&] { byButton ? t.click(f.cmdClose) : t.closeBox(); });
    EXPECT_THROW(t.click(f.cmdOK), ProgramEnded);
    EXPECT_TRUE(t.ended());
    EXPECT_EQ(p.terminated.size(), 1u);
    EXPECT_TRUE(f.AbortRequested);
    EXPECT_EQ(t.pumps(), 2);  // the wait never resumed
  }
}

TEST_F(StopAndClose, ClosingIdleTouchesNoProcess) {
  auto& f = load();
  platform.solver.slices = 0;
  toolkit.click(f.cmdOK);
  EXPECT_THROW(toolkit.click(f.cmdClose), ProgramEnded);
  EXPECT_TRUE(platform.terminated.empty());
}

TEST_F(StopAndClose, FailedWaitIsJudgedByTheOutput) {
  auto& f = load();
  toolkit.atPump(2, [&] { platform.waitFails = true; });
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblStatus.caption(), "Test fehlgeschlagen!");
  EXPECT_TRUE(platform.terminated.empty());

  platform.waitFails = false;
  toolkit.atPump(toolkit.pumps() + 2, [&] {
    platform.put("KM.OUT", "partial\r\n");
    platform.waitFails = true;
  });
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblStatus.caption(), "Test erfolgreich abgeschlossen!");
}

}  // namespace
}  // namespace kalmor::testing
