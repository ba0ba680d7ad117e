#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"

namespace kalmor::testing {
namespace {

class TestRun : public WindowTest {
 protected:
  void SetUp() override { putEverything(); }

  // A solver that runs for some slices and then writes KM.OUT.
  void solverWrites(std::string out, int slices = 3) {
    platform.solver.slices = slices;
    platform.solver.onExit = [this, out](const std::string&) { platform.put("KM.OUT", out); };
  }
  void solverWritesNothing(int slices = 3) {
    platform.solver.slices = slices;
    platform.solver.onExit = nullptr;
  }
};

TEST_F(TestRun, PassWhenTheSolverWritesItsOutput) {
  solverWrites("Kalmor: 1 solution\r\nmore\r\n");
  auto& f = load();
  toolkit.click(f.cmdOK);

  EXPECT_EQ(platform.file("TMP_INPUT.INP").bytes, "line\r\nProtokoll C:\\Kalmor\\KM.OUT\r\n");
  ASSERT_EQ(platform.creates.size(), 1u);
  const CreateCall& call = platform.creates[0];
  EXPECT_EQ(call.applicationName, "C:\\Kalmor\\kmwin64.exe");
  EXPECT_EQ(call.commandLine, "C:\\Kalmor\\kmwin64.exe \"C:\\Kalmor\\TMP_INPUT.INP\"");
  EXPECT_TRUE(call.inheritHandles);
  EXPECT_EQ(call.creationFlags, 0x20u);
  EXPECT_EQ(call.startup.dwFlags, 1u);
  EXPECT_EQ(call.startup.wShowWindow, 0u);
  EXPECT_GE(platform.waits, 4);
  EXPECT_EQ(platform.openProcesses, 0);

  EXPECT_EQ(f.lblStatus.caption(), "Test erfolgreich abgeschlossen!");
  EXPECT_EQ(f.lblResult.caption(), "Lösungs-Datei erstellt: KM.OUT\rKalmor: 1 solution");
  EXPECT_EQ(f.lblResult.foreColour(), Colour::buttonText());
  EXPECT_EQ(f.lblStatus.foreColour(), kBlack);
  EXPECT_EQ(f.bild0.picture(), Picture::Key);
  EXPECT_TRUE(f.bild0.visible());
  EXPECT_EQ(f.cmdOK.caption(), "&Start");
  EXPECT_TRUE(f.frameTime.visible());
  EXPECT_EQ(toolkit.focused(), &f.cmdDummy);
  EXPECT_EQ(f.lblTestvariante.caption(),
            "CreateProcess(0&, C:\\Kalmor\\kmwin64.exe \"C:\\Kalmor\\TMP_INPUT.INP\", 0&, 0&, 1&, "
            "NORMAL_PRIORITY_CLASS, 0&, 0&, uStart, uProc)");
  // The running text was painted at once, then the interim text.
  EXPECT_EQ(toolkit.repaints(),
            (std::vector<std::string>{"Prüfung läuft...", "Prüfung beendet"}));
  EXPECT_FALSE(f.RunInProgress);
  EXPECT_FALSE(f.AbortRequested);
  EXPECT_FALSE(f.SolverKilled);
  EXPECT_FALSE(f.StartFailed);
  EXPECT_FALSE(f.SolverRunning);
  EXPECT_FALSE(f.Timer1.enabled());
  EXPECT_TRUE(f.StartPressed);
}

TEST_F(TestRun, VariantTextShowsBuildAndModeWhileRunning) {
  solverWritesNothing(5);
  auto& f = load();
  toolkit.choose(f.lstLanguage, 1);
  toolkit.choose(f.lstKalmorCallingMode, 1);
  std::string during;
  toolkit.atPump(1, [&] { during = f.lblResult.caption(); });
  toolkit.click(f.cmdOK);
  EXPECT_EQ(during, "Test variant:\rKalmor 64-Bit, Kalmor calling mode: 2");
}

TEST_F(TestRun, FailWhenNoOutputIsWritten) {
  solverWritesNothing();
  auto& f = load();
  toolkit.choose(f.lstLanguage, 1);
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblStatus.caption(), "Test failed!");
  EXPECT_EQ(f.lblResult.caption(), "Solving file was not created:\rKM.OUT");
  EXPECT_EQ(f.lblResult.foreColour(), kRed);
  EXPECT_EQ(f.bild0.picture(), Picture::Warning);
  EXPECT_EQ(f.SolverFirstLine, "");
  EXPECT_EQ(f.cmdOK.caption(), "&Start");
}

TEST_F(TestRun, EmptyOrHugeOutputStillPasses) {
  solverWrites("");
  auto& f = load();
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblStatus.caption(), "Test erfolgreich abgeschlossen!");
  EXPECT_EQ(f.SolverFirstLine, "\r");

  solverWrites(std::string(1 << 20, 'x'));
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblStatus.caption(), "Test erfolgreich abgeschlossen!");
  EXPECT_EQ(f.SolverFirstLine.size(), 1u + 4096u);
}

TEST_F(TestRun, OldOutputIsDeletedSoAFailingSolverFails) {
  platform.put("KM.OUT", "old result\r\n");
  solverWritesNothing();
  auto& f = load();
  toolkit.click(f.cmdOK);
  EXPECT_FALSE(platform.has("KM.OUT"));
  EXPECT_EQ(f.lblStatus.caption(), "Test fehlgeschlagen!");
}

TEST_F(TestRun, UndeletableOldOutputStopsTheRunBeforeItStarts) {
  platform.put("KM.OUT", "old result\r\n");
  platform.file("KM.OUT").deleteError = 32;
  platform.messages[32] = "The process cannot access the file because it is being used by another process. ";
  solverWritesNothing();
  auto& f = load();
  toolkit.click(f.cmdOK);
  EXPECT_TRUE(platform.creates.empty());
  EXPECT_FALSE(platform.has("TMP_INPUT.INP"));
  EXPECT_EQ(f.lblResult.caption(),
            "Fehlernummer: 32\rThe process cannot access the file because it is being used by "
            "another process. ");
  EXPECT_EQ(f.lblResult.foreColour(), kRed);
  EXPECT_EQ(f.lblStatus.caption(), "Bereit");
  EXPECT_EQ(f.cmdOK.caption(), "&Start");
  EXPECT_FALSE(f.RunInProgress);
}

TEST_F(TestRun, FileFailuresAreShownAndTheRunReturnsToIdle) {
  struct Case {
    const char* what;
    std::function<void(FakePlatform&)> arrange;
    std::int32_t error;
  };
  const Case cases[] = {
      {"input not writable", [](FakePlatform& p) { p.writeError = 5; }, 5},
      {"task unreadable", [](FakePlatform& p) { p.file("test_#3.INP").readError = 32; }, 32},
  };
  for (const Case& c : cases) {
    FakePlatform p;
    for (const char* name : {"test_#3.INP", "kmwin32.exe", "kmwin64.exe"}) p.put(name, "t\r\n");
    c.arrange(p);
    HeadlessToolkit t;
    frmKalmorChecker f(p, t);
    t.attach(f);
    f.Form_Load();
    t.click(f.cmdOK);
    EXPECT_TRUE(p.creates.empty()) << c.what;
    EXPECT_EQ(f.lblResult.caption().rfind("Fehlernummer: " + std::to_string(c.error) + "\r", 0),
              0u)
        << c.what << ": " << f.lblResult.caption();
    EXPECT_EQ(f.lblResult.foreColour(), kRed) << c.what;
    EXPECT_EQ(f.lblStatus.caption(), "Bereit") << c.what;
    EXPECT_EQ(f.cmdOK.caption(), "&Start") << c.what;
    EXPECT_FALSE(f.RunInProgress) << c.what;
  }
}

TEST_F(TestRun, UnreadableOutputIsShownNotPassed) {
  platform.solver.slices = 1;
  platform.solver.onExit = [this](const std::string&) {
    platform.put("KM.OUT", "x");
    platform.file("KM.OUT").readError = 5;
  };
  platform.messages[5] = "Access is denied. ";
  auto& f = load();
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblResult.caption(), "Fehlernummer: 5\rAccess is denied. ");
  EXPECT_NE(f.lblStatus.caption(), "Test erfolgreich abgeschlossen!");
  EXPECT_EQ(f.cmdOK.caption(), "&Start");
}

TEST_F(TestRun, MissingSolverShowsErrorTwoAndIsNotJudged) {
  platform.file("kmwin64.exe").folder = true;
  auto& f = load();
  toolkit.choose(f.lstLanguage, 1);
  ASSERT_TRUE(f.SolverMissing);
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblResult.caption(), "Error number: 2\rThe system cannot find the file specified. ");
  EXPECT_EQ(f.lblResult.foreColour(), kRed);
  EXPECT_EQ(f.lblStatus.caption(), "Ready");
  EXPECT_EQ(f.lblStatus.foreColour(), kBlack);
  EXPECT_EQ(f.bild0.picture(), Picture::Warning);
  EXPECT_TRUE(f.bild0.visible());
  EXPECT_TRUE(f.StartFailed);
  EXPECT_EQ(f.LastStartError, 2);
  EXPECT_FALSE(f.RunInProgress);
  EXPECT_FALSE(f.Timer1.enabled());
  EXPECT_EQ(f.lblTimer.caption(), "00:00:00");
  EXPECT_EQ(f.cmdOK.caption(), "&Start");
  // The call text is written even when creation fails.
  EXPECT_NE(f.lblTestvariante.caption().find("kmwin64.exe"), std::string::npos);
}

TEST_F(TestRun, SystemTextPlaceholderNamesTheSolverFile) {
  platform.createError = 193;
  auto& f = load();
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.StartErrorText, "kmwin64.exe is not a valid Win32 application. ");
}

TEST_F(TestRun, NoTaskSelectedOnlyRunsTheCommonSteps) {
  platform = FakePlatform{};
  platform.put("test_s#7.INP");
  platform.put("kmwin64.exe");
  auto& f = load();
  ASSERT_TRUE(f.cmdOK.enabled());
  toolkit.click(f.cmdOK);
  EXPECT_TRUE(f.frameTime.visible());
  EXPECT_FALSE(f.bild0.visible());
  EXPECT_EQ(toolkit.focused(), &f.cmdDummy);
  EXPECT_EQ(f.cmdOK.caption(), "Starten");
  EXPECT_FALSE(platform.has("TMP_INPUT.INP"));
  EXPECT_TRUE(platform.creates.empty());

  toolkit.choose(f.lstTask, 0);
  EXPECT_EQ(f.TaskFile, "test_s#7.INP");
  toolkit.click(f.cmdOK);
  EXPECT_EQ(platform.creates.size(), 1u);
}

TEST_F(TestRun, TaskFileRemovedAfterStartUpStartsNothing) {
  auto& f = load();
  platform.file("test_#3.INP").folder = true;
  toolkit.click(f.cmdOK);
  EXPECT_TRUE(platform.creates.empty());
  EXPECT_EQ(f.cmdOK.caption(), "Starten");
}

TEST_F(TestRun, FourCallingModesInAFolderWithBlanks) {
  platform = FakePlatform{};
  platform.folder = "C:\\My Tools";
  putEverything();
  auto& f = load();
  const std::string prog = "C:\\My Tools\\kmwin64.exe";
  const std::string task = "C:\\My Tools\\TMP_INPUT.INP";
  const std::string quoted = prog + " \"" + task + "\"";
  const std::string plain = prog + " " + task;
  const std::string lines[] = {quoted, quoted, plain, plain};
  const std::string calls[] = {
      "CreateProcess(0&, " + quoted + ", 0&, 0&, 1&, NORMAL_PRIORITY_CLASS, 0&, 0&, uStart, uProc)",
      "CreateProcess(ByVal 0&, " + quoted +
          ", ByVal 0&, ByVal 0&, 1&, NORMAL_PRIORITY_CLASS, ByVal 0&, ByVal 0&, uStart, uProc)",
      "CreateProcess(0&, " + plain + ", 0&, 0&, 1&, NORMAL_PRIORITY_CLASS, 0&, 0&, uStart, uProc)",
      "CreateProcess(ByVal 0&, " + plain +
          ", ByVal 0&, ByVal 0&, 1&, NORMAL_PRIORITY_CLASS, ByVal 0&, ByVal 0&, uStart, uProc)"};
  for (int mode = 0; mode < 4; ++mode) {
    toolkit.choose(f.lstKalmorCallingMode, mode);
    toolkit.click(f.cmdOK);
    ASSERT_EQ(platform.creates.size(), static_cast<std::size_t>(mode + 1));
    EXPECT_EQ(platform.creates.back().applicationName, prog);
    EXPECT_EQ(platform.creates.back().commandLine, lines[mode]);
    EXPECT_EQ(f.lblTestvariante.caption(), calls[mode]);
  }
  EXPECT_EQ(platform.file("TMP_INPUT.INP").bytes,
            "line\r\nProtokoll C:\\My Tools\\KM.OUT\r\n");
}

}  // namespace
}  // namespace kalmor::testing
