#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"

namespace kalmor::testing {
namespace {

using ApplyLanguage = WindowTest;

struct Captions {
  std::string title, status, time, os, task, start, close, mode, language, settings, label1;
};

Captions Read(frmKalmorChecker& f) {
  return {f.form.caption(),     f.rahmen(14).caption(), f.lbl(1).caption(),
          f.rahmen(11).caption(), f.lblTask.caption(),  f.cmdOK.caption(),
          f.cmdClose.caption(), f.lblMode.caption(),   f.lblLanguage.caption(),
          f.Frame3.caption(),   f.Label1.caption()};
}

TEST_F(ApplyLanguage, EveryTargetInBothLanguages) {
  putEverything();
  auto& f = load();
  toolkit.choose(f.lstLanguage, 1);
  Captions en = Read(f);
  EXPECT_EQ(en.title, "Kalmor function tester 3.0 Build 25");
  EXPECT_EQ(en.status, "Testing status");
  EXPECT_EQ(en.time, "Time:");
  EXPECT_EQ(en.os, "Operating system");
  EXPECT_EQ(en.task, "Task:");
  EXPECT_EQ(en.start, "Start");
  EXPECT_EQ(en.close, "Close");
  EXPECT_EQ(en.mode, "Kalmor calling mode:");
  EXPECT_EQ(en.language, "Language:");
  EXPECT_EQ(en.settings, "Test settings");
  EXPECT_EQ(en.label1, "Mode:");
  EXPECT_EQ(f.lblStatus.caption(), "Please press the \"Start\" button");
  EXPECT_EQ(f.ReadyText, "Ready");
  EXPECT_EQ(f.RunningText, "Solving runs...");
  EXPECT_EQ(f.TestVariantText, "Test variant:");
  EXPECT_EQ(f.TestPassedText, "Test finished successfully!");
  EXPECT_EQ(f.TestFailedText, "Test failed!");
  EXPECT_EQ(f.SolutionCreatedText, "Solution file created:");
  EXPECT_EQ(f.SolutionMissingText, "Solving file was not created:");
  EXPECT_EQ(f.CallingModeText, "Kalmor calling mode:");
  EXPECT_EQ(f.PressStartText, "Please press the \"Start\" button");
  EXPECT_EQ(f.AbortedText, "Test has been aborted");
  EXPECT_EQ(f.ErrorNumberText, "Error number:");

  toolkit.choose(f.lstLanguage, 0);
  Captions de = Read(f);
  EXPECT_EQ(de.title, "Kalmor Funktionstester 3.0 Build 25");
  EXPECT_EQ(de.status, "Prüfstatus");
  EXPECT_EQ(de.time, "Zeit:");
  EXPECT_EQ(de.os, "Betriebssystem");
  EXPECT_EQ(de.task, "Aufgabe:");
  EXPECT_EQ(de.start, "Starten");  // no access key once a language is applied
  EXPECT_EQ(de.close, "Schliessen");
  EXPECT_EQ(de.mode, "Kalmor-Aufrufmodus:");
  EXPECT_EQ(de.language, "Sprache:");
  EXPECT_EQ(de.settings, "Testeinstellungen");
  EXPECT_EQ(de.label1, "Modus:");
  EXPECT_EQ(f.RunningText, "Prüfung läuft...");
  EXPECT_EQ(f.ErrorNumberText, "Fehlernummer:");
  // Texts the handler leaves alone.
  EXPECT_EQ(f.lstLanguage.items(), (std::vector<std::string>{"Deutsch", "English"}));
  EXPECT_EQ(f.lblTimer.toolTip(),
            "Zeigt die verstrichene Lösezeit an während Kalmor ein Problem löst");
}

TEST_F(ApplyLanguage, NothingSelectedChangesNothing) {
  putEverything();
  auto& f = load();
  const Captions before = Read(f);
  const std::string ready = f.ReadyText;
  f.lstLanguage.setListIndex(-1);
  f.lstLanguage_Click();
  const Captions after = Read(f);
  EXPECT_EQ(after.title, before.title);
  EXPECT_EQ(after.start, before.start);
  EXPECT_EQ(after.settings, before.settings);
  EXPECT_EQ(f.ReadyText, ready);
}

TEST_F(ApplyLanguage, EntryWithoutEnglishPartKeepsThePreviousText) {
  putEverything();
  auto& f = load();
  std::string table = f.tbLanguage.text();
  table.replace(table.find("Schliessen@Close"), 16, "Schliessen");
  f.tbLanguage.setText(table);
  toolkit.choose(f.lstLanguage, 1);
  EXPECT_EQ(f.cmdClose.caption(), "Schliessen");
  EXPECT_EQ(f.cmdOK.caption(), "Start");  // the other steps still apply
  EXPECT_EQ(f.RunningText, "Solving runs...");
}

TEST_F(ApplyLanguage, StatusLineFollowsOnlyBeforeStartAndWithSolverPresent) {
  putEverything();
  auto& f = load();
  toolkit.choose(f.lstLanguage, 1);
  EXPECT_EQ(f.lblStatus.caption(), "Please press the \"Start\" button");

  f.StartPressed = true;
  toolkit.choose(f.lstLanguage, 0);
  EXPECT_EQ(f.lblStatus.caption(), "Please press the \"Start\" button");
  EXPECT_EQ(f.PressStartText, "Bitte betätigen Sie den \"Starten\"-Button");
}

TEST_F(ApplyLanguage, MissingSolverMessageSurvivesLanguageChanges) {
  platform.put("test_#3.INP");
  platform.put("kmwin32.exe");
  auto& f = load();
  EXPECT_EQ(f.lblStatus.caption(), "kmwin64.exe fehlt/is missing!");
  EXPECT_EQ(f.bild0.picture(), Picture::Error);
  toolkit.choose(f.lstLanguage, 1);
  EXPECT_EQ(f.lblStatus.caption(), "kmwin64.exe fehlt/is missing!");

  toolkit.choose(f.lstKalmorBitVersion, 0);
  EXPECT_FALSE(f.SolverMissing);
  EXPECT_EQ(f.lblStatus.caption(), "Please press the \"Start\" button");
  EXPECT_EQ(f.bild0.picture(), Picture::Information);
  toolkit.choose(f.lstLanguage, 0);
  EXPECT_EQ(f.lblStatus.caption(), "Bitte betätigen Sie den \"Starten\"-Button");
}

}  // namespace
}  // namespace kalmor::testing
