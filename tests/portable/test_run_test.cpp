// Whole test runs through the headless front-end on the in-memory platform:
// the input written, the solver's call, the judgement, errors, Stop, closing
// and the elapsed time. Every outcome of a run is checked here in detail.
#include <gtest/gtest.h>

#include "testbench/elapsed_time.h"
#include "testbench/temporary_input.h"
#include "tests/support/window_fixture.h"

namespace kalmor::testing {
namespace {

using namespace std::chrono;

class TestRun : public WindowTest {
 protected:
  void SetUp() override { putEverything(); }
  // A solver that runs for some wait slices and then writes KM.OUT (or nothing).
  void solverEnds(int slices, std::optional<std::string> out) {
    platform.solver.slices = slices;
    platform.solver.onExit = [this, out](const std::string&) {
      if (out) platform.put("KM.OUT", *out);
    };
  }
};

TEST_F(TestRun, PassShowsTheOutputsFirstLineAndTheNextPressStartsAgain) {
  solverEnds(3, "Kalmor: 1 solution\r\nmore\r\n");
  auto& f = load();
  toolkit.atPump(1, [&] { EXPECT_EQ(platform.locked, std::set<std::string>{"C:\\Kalmor\\TMP_INPUT.INP"}); });
  toolkit.click(f.cmdOK);
  EXPECT_TRUE(platform.locked.empty());
  EXPECT_EQ(platform.file("TMP_INPUT.INP").bytes, "line\r\nProtokoll C:\\Kalmor\\KM.OUT\r\n");
  const CreateCall& call = platform.creates.at(0);
  // Inheriting handles, at normal priority, hidden.
  EXPECT_EQ(std::tuple(call.inheritHandles, call.creationFlags, call.startup.dwFlags, call.startup.wShowWindow),
            std::tuple(true, 0x20u, 1u, std::uint16_t{0}));
  EXPECT_EQ(changes(), (Shown{{"bild(0)", " key"}, {"cmdDummy", " information focus"}, {"cmdOK", "&Start warning"},
                             {"frameTime", ""}, {"lblResult", "Lösungs-Datei erstellt: KM.OUT\rKalmor: 1 solution"},
                             {"lblStatus", std::string(kPassedDe) + " black"}}));
  EXPECT_EQ(f.LastPress.outcome, RunOutcome::Passed);
  // The verdict goes to screen readers once, when the press ends.
  EXPECT_EQ(toolkit.announced(),
            (std::vector<std::string>{kPassedDe, "Lösungs-Datei erstellt: KM.OUT\rKalmor: 1 solution"}));
  // The running text was painted at once, then the interim text.
  EXPECT_EQ(toolkit.repaints(), (std::vector<std::string>{"Prüfung läuft...", "Prüfung beendet"}));
  // An empty or a huge output passes too, with a bounded first line; a task's
  // last line without a line break is copied whole.
  for (const auto& [task, input, out, firstLine] :
       {std::tuple{"line\r\nKd1 Qh5", "line\r\nKd1 Qh5\r\n", std::string(), std::string()},
        {"", "", std::string(1 << 20, 'x'), std::string(4096, 'x')}}) {
    platform.put("test_#3.INP", task);
    solverEnds(1, out);
    toolkit.click(f.cmdOK);
    EXPECT_EQ(f.lblStatus.caption(), kPassedDe);
    EXPECT_EQ(f.LastPress.detail, firstLine);
    EXPECT_EQ(platform.file("TMP_INPUT.INP").bytes, input);
  }
  EXPECT_EQ(platform.creates.size(), 3u);
}

// A failed wait ends the run too, which is judged by its output. The whole
// window during and after the run, and during and after a run after it.
TEST_F(TestRun, FailWhenNoOutputIsWrittenAndAnOldOneIsGone) {
  platform.put("KM.OUT", "old result\r\n").hidden = true;  // hidden or not, it goes
  solverEnds(1000, std::nullopt);
  platform.solverExit = {ProcessExit::Kind::Code, 3, ""};
  auto& f = load();
  toolkit.choose(f.lstLanguage, 1);
  toolkit.choose(f.lstKalmorCallingMode, 1);
  changes();
  Shown during;
  toolkit.atPump(1, [&] {
    toolkit.advance(seconds(2));
    toolkit.tick();
    toolkit.tick();
    during = ShownBy(f, toolkit);
  });
  toolkit.atPump(2, [&] { platform.waitFails = true; });
  toolkit.click(f.cmdOK);
  EXPECT_TRUE(platform.terminated.empty());
  EXPECT_FALSE(platform.has("KM.OUT"));
  const std::string timerTip = " tip: Zeigt die verstrichene Lösezeit an während Kalmor ein Problem löst";
  EXPECT_EQ(changes(during), (Shown{{"Timer1", ""}, {"cmdDummy", " information focus"}, {"cmdOK", "&Stop warning"},
                                    {"frameTime", ""}, {"lblResult", "Test variant:\rKalmor 64-Bit, Kalmor calling mode: 2"},
                                    {"lblStatus", "Solving runs... blue"}, {"lblTimer", "00:00:02" + timerTip}}));
  EXPECT_EQ(changes(), (Shown{{"Timer1", " off"}, {"bild(0)", " warning"}, {"cmdOK", "&Start warning"},
                              {"lblResult", "Solving file was not created:\rKM.OUT red tip: Kalmor ended with exit code 3 "
                                            "without writing KM.OUT."},
                              {"lblStatus", "Test failed! black"}}));
  EXPECT_EQ(f.LastPress.outcome, RunOutcome::Failed);
  platform.waitFails = false;
  solverEnds(2, "solved\r\n");
  toolkit.atPump(toolkit.pumps() + 1, [&] { during = ShownBy(f, toolkit); });
  toolkit.click(f.cmdOK);
  // Nothing of the failed run is left: no red, no reason, the clock from zero.
  EXPECT_EQ(changes(during), (Shown{{"Timer1", ""}, {"bild(0)", " information"}, {"cmdOK", "&Stop warning"},
                                    {"lblResult", "Test variant:\rKalmor 64-Bit, Kalmor calling mode: 2"},
                                    {"lblStatus", "Solving runs... blue"}, {"lblTimer", "00:00:00" + timerTip}}));
  EXPECT_EQ(changes(), (Shown{{"Timer1", " off"}, {"bild(0)", " key"}, {"cmdOK", "&Start warning"},
                              {"lblResult", "Solution file created: KM.OUT\rsolved"},
                              {"lblStatus", "Test finished successfully! black"}}));
}

TEST_F(TestRun, FileAndStartErrorsShowTheSystemTextAndLeaveTheWindowIdle) {
  struct Case {
    const char* what;
    std::function<void(FakePlatform&)> arrange;
    const char* result;
    RunOutcome outcome;
    bool solverStarts, inputExists, oldOutputKept;
    std::string folder = FakePlatform::kFolder;
  };
  using enum RunOutcome;
  const Case cases[] = {
      // A folder the run cannot name, or whose name would split the protocol line (the solver
      // would write where the second half points), stops the press before any file is touched.
      {"folder unknown", [](FakePlatform&) {},
       "Der Ordner des Programms ist nicht zu ermitteln; der Test startet nicht.", Refused,
       false, false, true, ""},
      {"line break in the folder", [](FakePlatform&) {},
       "Der Ordnername enthält einen Zeilenumbruch; der Test startet nicht.", Refused, false, false, true,
       "C:\\Kal\rmor"},
      {"line feed in the folder", [](FakePlatform&) {},
       "Der Ordnername enthält einen Zeilenumbruch; der Test startet nicht.", Refused, false, false, true,
       "C:\\Kal\nmor"},
      // Refused before anything changes: another run holds the folder, or a name of the run is no
      // regular file (a pipe would block the writer, or the solver, for ever).
      {"folder busy",
       [](FakePlatform& p) {
         p.locked.insert(p.path("TMP_INPUT.INP"));
         p.lockHolders = "kmwin64.exe (4242), wineserver (4243)";
       },
       "In diesem Ordner läuft schon ein Test (oder ein Rest davon): kmwin64.exe (4242), wineserver (4243). Warten "
       "Sie, bis er endet, oder beenden Sie ihn, dann drücken Sie wieder Start.",
       Refused, false, false, true},
      {"input is a link", [](FakePlatform& p) { p.put("TMP_INPUT.INP").link = true; },
       "TMP_INPUT.INP ist ein Link (symbolisch oder ein zweiter Name einer anderen Datei); der Test startet nicht.",
       Refused, false, true, true},
      {"input is a pipe", [](FakePlatform& p) { p.put("TMP_INPUT.INP").special = true; },
       "TMP_INPUT.INP ist keine gewöhnliche Datei; der Test startet nicht.", Refused, false, true, true},
      {"KM.OUT is a folder", [](FakePlatform& p) { p.file("KM.OUT").folder = true; },
       "KM.OUT ist keine gewöhnliche Datei; der Test startet nicht.", Refused, false, false, true},
      {"lock fails", [](FakePlatform& p) { p.lockError = 5; }, "Fehlernummer: 5\rUnbekannter Fehler: &H5",
       CouldNotStart, false, false, true},
      // Named, as a solver start failure would not be.
      {"old output cannot be deleted", [](FakePlatform& p) { p.file("KM.OUT").deleteError = 32; },
       "Das alte KM.OUT lässt sich nicht löschen (Fehlernummer 32: The file is in use.); der Test startet nicht.",
       CouldNotStart, false, true, true},
      {"input not writable", [](FakePlatform& p) { p.writeError = 5; }, "Fehlernummer: 5\rUnbekannter Fehler: &H5",
       CouldNotStart, false, true, false},
      {"task unreadable", [](FakePlatform& p) { p.file("test_#3.INP").readError = 32; },
       "Fehlernummer: 32\rThe file is in use. ", CouldNotStart, false, true, false},
      {"disk full while the input is written", [](FakePlatform& p) { p.diskFullError = 112; },
       "Fehlernummer: 112\rUnbekannter Fehler: &H70", CouldNotStart, false, true, false},
      // Each marker becomes the whole path of a deep folder: the input is bounded.
      {"input past its limit",
       [](FakePlatform& p) {
         std::string markers;
         for (int i = 0; i < 17000; ++i) markers += "<Protokoll>";
         p.put("test_#3.INP", markers);
       },
       "Die Aufgabe ergäbe ein TMP_INPUT.INP über 64 MiB; der Test startet nicht.", CouldNotStart, false,
       true, false, "C:\\" + std::string(4000, 'k')},
      // "%1" in the system text names the solver file.
      {"solver no program", [](FakePlatform& p) { p.createError = 193; },
       "Fehlernummer: 193\rkmwin64.exe is not a valid Win32 application. ", CouldNotStart, true, true, false},
      // A build this system cannot start: nothing is touched, and the next build may run.
      {"32-bit build where no 32-bit program runs", [](FakePlatform& p) { p.solverCheck = SolverCheck::No32BitHere; },
       "Dieses System führt keine 32-Bit-Programme aus, also auch kein 32-Bit-Windows-Programm unter Wine. "
       "Wählen Sie die 64-Bit-Version; der Test startet nicht.", CouldNotStart, false, false, true},
      // Wine's launcher ran but could not start the solver: its error, not an exit code of the solver's.
      {"launcher cannot start the solver",
       [](FakePlatform& p) {
         p.solverExit = {ProcessExit::Kind::NotStarted, 2, "%1 fehlt. "};
       },
       "Fehlernummer: 2\rkmwin64.exe fehlt. ", CouldNotStart, true, true, false},
      {"output unreadable",
       [](FakePlatform& p) { p.solver.onExit = [&p](const std::string&) { p.put("KM.OUT").readError = 5; }; },
       "Fehlernummer: 5\rUnbekannter Fehler: &H5", Failed, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LoadedWindow w([&](FakePlatform& p) {
      p.folder = c.folder;
      PutEverything(p);
      p.put("KM.OUT", "old\r\n");
      p.messages[32] = "The file is in use. ";
      c.arrange(p);
    });
    const std::set<std::string> lockedBefore = w.platform.locked;
    w.toolkit.click(w.f.cmdOK);
    EXPECT_EQ(w.platform.locked, lockedBefore) << "the run lock is released";
    // What kalmor-check reports: the red line; for an unreadable output the system's text alone.
    EXPECT_EQ(std::pair(w.f.LastPress.outcome, w.f.LastPress.detail),
              std::pair(c.outcome, std::string(c.outcome == Failed ? "Unbekannter Fehler: &H5" : c.result)));
    EXPECT_EQ(w.changes(), (Shown{{"bild(0)", " warning"}, {"cmdDummy", " information focus"}, {"cmdOK", "&Start warning"},
                                  {"frameTime", ""}, {"lblResult", c.result + std::string(" red")},
                                  {"lblStatus", "Bereit black"}}));
    // Solver started, input there (the run lock makes it), old output kept.
    EXPECT_EQ(std::tuple(w.platform.creates.size() == 1, w.platform.has("TMP_INPUT.INP"), w.platform.has("KM.OUT")),
              std::tuple(c.solverStarts, c.inputExists, c.oldOutputKept));
    EXPECT_LE(w.platform.has("TMP_INPUT.INP") ? w.platform.file("TMP_INPUT.INP").bytes.size() : 0,
              kTemporaryInputLimit);
    EXPECT_FALSE(w.f.Timer1.enabled());
    // Once the cause is gone the next press runs: the window is idle again.
    w.platform = FakePlatform{};
    PutEverything(w.platform);
    w.toolkit.click(w.f.cmdOK);
    EXPECT_EQ(w.platform.creates.size(), 1u);
    EXPECT_EQ(w.f.lblStatus.caption(), "Test fehlgeschlagen!");
  }
}

// No task selected, or its file gone since: whatever else is wrong in the
// folder, the press shows nothing beyond its first steps and makes no file.
TEST_F(TestRun, WithoutATaskOnlyTheCommonStepsRun) {
  const std::function<void(FakePlatform&)> troubles[] = {
      [](FakePlatform&) {},
      [](FakePlatform& p) { p.locked.insert(p.path("TMP_INPUT.INP")); },
      [](FakePlatform& p) { p.lockError = 5; },
      [](FakePlatform& p) { p.put("KM.OUT").folder = true; },
      [](FakePlatform& p) { p.put("KM.OUT").deleteError = 5; },
  };
  for (const bool vanished : {false, true}) {
    for (const auto& trouble : troubles) {
      LoadedWindow w([&](FakePlatform& p) {
        p.put(vanished ? "test_#3.INP" : "test_s#7.INP");
        p.put("kmwin64.exe");
        trouble(p);
      });
      if (vanished) {
        ASSERT_TRUE(w.platform.deleteFile(w.platform.path("test_#3.INP")));
      }
      w.toolkit.click(w.f.cmdOK);
      EXPECT_EQ(w.changes(), (Shown{{"bild(0)", " hidden"}, {"cmdDummy", " information focus"}, {"frameTime", ""}}));
      EXPECT_FALSE(w.platform.has("TMP_INPUT.INP"));
      EXPECT_TRUE(w.platform.creates.empty());
      EXPECT_EQ(w.f.LastPress.outcome, RunOutcome::Refused);
    }
  }
}

TEST_F(TestRun, FourCallingModesInAFolderWithBlanks) {
  platform = FakePlatform{};
  platform.folder = "C:\\My Tools";
  putEverything();
  auto& f = load();
  const std::string quoted = "C:\\My Tools\\kmwin64.exe \"C:\\My Tools\\TMP_INPUT.INP\"";
  const std::string plain = "C:\\My Tools\\kmwin64.exe C:\\My Tools\\TMP_INPUT.INP";
  const std::string lines[] = {quoted, quoted, plain, plain};
  const char* const callTexts[] = {
      R"(CreateProcess(0&, C:\My Tools\kmwin64.exe "C:\My Tools\TMP_INPUT.INP", 0&, 0&, 1&, NORMAL_PRIORITY_CLASS, 0&, 0&, uStart, uProc))",
      R"(CreateProcess(ByVal 0&, C:\My Tools\kmwin64.exe "C:\My Tools\TMP_INPUT.INP", ByVal 0&, ByVal 0&, 1&, NORMAL_PRIORITY_CLASS, ByVal 0&, ByVal 0&, uStart, uProc))",
      R"(CreateProcess(0&, C:\My Tools\kmwin64.exe C:\My Tools\TMP_INPUT.INP, 0&, 0&, 1&, NORMAL_PRIORITY_CLASS, 0&, 0&, uStart, uProc))",
      R"(CreateProcess(ByVal 0&, C:\My Tools\kmwin64.exe C:\My Tools\TMP_INPUT.INP, ByVal 0&, ByVal 0&, 1&, NORMAL_PRIORITY_CLASS, ByVal 0&, ByVal 0&, uStart, uProc))",
  };
  for (int mode = 0; mode < 4; ++mode) {
    toolkit.choose(f.lstKalmorCallingMode, mode);
    toolkit.click(f.cmdOK);
    EXPECT_EQ(platform.creates.back().applicationName, "C:\\My Tools\\kmwin64.exe");
    EXPECT_EQ(platform.creates.back().commandLine, lines[mode]);
    EXPECT_EQ(f.lblTestvariante.caption(), callTexts[mode]);
  }
  EXPECT_EQ(platform.file("TMP_INPUT.INP").bytes, "line\r\nProtokoll C:\\My Tools\\KM.OUT\r\n");
}

using StopAndClose = TestRun;

// Stop is seen in the slice the solver would end in: the abort wins.
TEST_F(StopAndClose, StopEndsTheSolverAndTheBlinkingClockAndTheNextRunRunsNormally) {
  solverEnds(7, "late\r\n");
  auto& f = load();
  toolkit.choose(f.lstLanguage, 1);
  changes();
  EXPECT_FALSE(toolkit.tick());
  std::vector<std::pair<bool, std::string>> seen;  // status visible?, time shown
  toolkit.onEveryPump([&](int pump) {
    if (pump > 6) return toolkit.click(f.cmdOK);
    toolkit.advance(milliseconds(500));
    toolkit.tick();
    seen.emplace_back(f.lblStatus.foreColour() != f.lblStatus.backColour(), f.lblTimer.caption());
  });
  toolkit.click(f.cmdOK);
  toolkit.onEveryPump(nullptr);
  // The clock blinks and counts from the solver's start.
  const std::vector<std::pair<bool, std::string>> blinks = {
      {false, "00:00:00"}, {true, "00:00:01"}, {false, "00:00:01"},
      {true, "00:00:02"},  {false, "00:00:02"}, {true, "00:00:03"}};
  EXPECT_EQ(seen, blinks);
  EXPECT_EQ(platform.terminated, std::vector<std::uint32_t>{1000u});
  EXPECT_EQ(toolkit.pumps(), 7);
  EXPECT_EQ(changes(), (Shown{{"bild(0)", " error"}, {"cmdDummy", " information focus"}, {"cmdOK", "&Start warning"},
                             {"frameTime", ""}, {"lblStatus", "Test has been aborted black"},
                             {"lblTimer", "00:00:03 tip: Zeigt die verstrichene Lösezeit an während Kalmor ein Problem löst"}}));
  EXPECT_EQ(f.LastPress.outcome, RunOutcome::Aborted);
  EXPECT_EQ(toolkit.announced(), (std::vector<std::string>{"Test has been aborted", ""})) << "not by Stop";
  EXPECT_FALSE(platform.has("KM.OUT") || toolkit.tick());
  EXPECT_EQ(platform.openProcesses, 0);
  EXPECT_TRUE(platform.locked.empty());
  for (const auto& painted : toolkit.repaints()) EXPECT_NE(painted, "Prüfung beendet");
  platform.locked.insert(platform.path("TMP_INPUT.INP"));
  toolkit.click(f.cmdOK);
  // Where the system cannot name the holder, the refusal still says what to do.
  EXPECT_EQ(std::pair(f.lblTimer.caption(), f.lblResult.caption()),
            std::pair(std::string("00:00:00"), std::string("Another check is running in this folder (or something "
                                                           "left of one). Wait for it to end or end it, then press "
                                                           "Start again.")))
      << "a refused press shows no earlier run's time";
  platform.locked.clear();
  solverEnds(2, "solved\r\n");
  toolkit.click(f.cmdOK);
  EXPECT_EQ(platform.terminated.size(), 1u);
  EXPECT_EQ(f.lblStatus.caption(), "Test finished successfully!");
  EXPECT_EQ(f.LastPress.outcome, RunOutcome::Passed);
}

// A run keeps its status and its solver whatever is chosen meanwhile, and reports
// in the language of its end; the language step writes the button's caption.
TEST_F(StopAndClose, ChangesDuringARunShowAtOnceButTheRunKeepsItsSolverAndStatus) {
  solverEnds(10, "solved\r\n");
  platform.file("kmwin32.exe").folder = true;
  auto& f = load();
  std::string caption, status, buildStatus;
  toolkit.atPump(2, [&] { toolkit.choose(f.lstLanguage, 1); });
  toolkit.atPump(3, [&] {
    caption = f.cmdOK.caption();
    status = f.lblStatus.caption();
    toolkit.choose(f.lstKalmorBitVersion, 0);
    buildStatus = f.lblStatus.caption();
    toolkit.click(f.cmdOK);
  });
  toolkit.click(f.cmdOK);
  EXPECT_EQ(caption, "Start");
  EXPECT_EQ(status, "Prüfung läuft...");
  EXPECT_EQ(buildStatus, "kmwin32.exe fehlt/is missing!");
  EXPECT_EQ(platform.creates[0].applicationName, "C:\\Kalmor\\kmwin64.exe");
  EXPECT_EQ(f.lblStatus.caption(), "Test has been aborted");
  toolkit.choose(f.lstKalmorBitVersion, 1);
  solverEnds(3, "solved\r\n");
  toolkit.atPump(toolkit.pumps() + 1, [&] { toolkit.choose(f.lstLanguage, 0); });
  toolkit.click(f.cmdOK);
  EXPECT_EQ(f.lblStatus.caption(), kPassedDe);
  toolkit.choose(f.lstLanguage, 1);
  EXPECT_EQ(f.lblStatus.caption(), kPassedDe);
}

TEST_F(StopAndClose, ClosingMidRunTerminatesTheSolverAndEndsAtOnceButIdleTouchesNoProcess) {
  for (const bool byButton : {false, true}) {
    LoadedWindow w([](FakePlatform& p) {
      PutEverything(p);
      p.solver.slices = 1000;
    });
    w.toolkit.atPump(2, [&] { byButton ? w.toolkit.click(w.f.cmdClose) : w.toolkit.closeBox(); });
    EXPECT_THROW(w.toolkit.click(w.f.cmdOK), ProgramEnded);
    EXPECT_EQ(w.platform.terminated.size(), 1u);
    EXPECT_EQ(w.toolkit.pumps(), 2);  // the wait never resumed
    EXPECT_TRUE(w.platform.locked.empty() && w.platform.openProcesses == 0) << "all let go";
    EXPECT_EQ(w.f.LastPress.outcome, RunOutcome::Aborted);
  }
  auto& f = load();
  platform.solver.slices = 0;
  toolkit.click(f.cmdOK);
  EXPECT_THROW(toolkit.click(f.cmdClose), ProgramEnded);
  EXPECT_TRUE(platform.terminated.empty());
}

// A task of many chunks is copied with the window live: Stop or Close between
// two chunks ends the press before the solver starts.
TEST_F(StopAndClose, AHugeTaskIsCopiedWithTheWindowLive) {
  const std::string task = "a\r<Protokoll>\n" + std::string(4 * kTaskChunk, 'x');
  const std::string input = "a\r\nProtokoll C:\\Kalmor\\KM.OUT\n" + std::string(4 * kTaskChunk, 'x') + "\r\n";
  for (const int press : {0, 1, 2}) {  // nothing, Stop, Close at the second pump
    SCOPED_TRACE(press);
    LoadedWindow w([&](FakePlatform& p) {
      PutEverything(p);
      p.put("test_#3.INP", task);
      p.solver.onExit = [&p](const std::string&) { p.put("KM.OUT", "solved\r\n"); };
    });
    w.toolkit.choose(w.f.lstLanguage, 1);
    w.toolkit.atPump(2, [&] { press == 1 ? w.toolkit.click(w.f.cmdOK) : press == 2 ? w.toolkit.closeBox() : void(); });
    if (press == 2) {
      EXPECT_THROW(w.toolkit.click(w.f.cmdOK), ProgramEnded);
    } else {
      w.toolkit.click(w.f.cmdOK);
    }
    EXPECT_EQ(w.toolkit.pumps(), press == 0 ? 4 : 2);  // one between two chunks, none in the wait
    EXPECT_EQ(w.platform.creates.size(), press == 0 ? 1u : 0u);
    if (press == 0) {
      EXPECT_EQ(w.platform.file("TMP_INPUT.INP").bytes, input);
    } else if (press == 1) {
      EXPECT_EQ(std::tuple(w.f.lblStatus.caption(), w.f.bild0.picture(), w.f.LastPress.outcome),
                std::tuple(std::string("Test has been aborted"), Picture::Error, RunOutcome::Aborted));
    }
  }
}

TEST(FormatElapsed, WholeSecondsWithHoursWrappedAt24AndNoNegativeTime) {
  EXPECT_EQ(FormatElapsed(hours(25) + minutes(2) + seconds(3) + milliseconds(999)), "01:02:03");
  EXPECT_EQ(FormatElapsed(-seconds(5)), "00:00:00");
}

}  // namespace
}  // namespace kalmor::testing
