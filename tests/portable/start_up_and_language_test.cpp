// Start-up, the task and solver lists, and the two languages, through the
// headless front-end on the in-memory platform.
#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"

namespace kalmor::testing {
namespace {

using Items = std::vector<std::string>;
using StartUp = WindowTest;

TEST_F(StartUp, EverythingPresentOn64BitGermanSystem) {
  putEverything();
  auto& f = load();
  EXPECT_EQ(f.initialFocus(), &f.cmdOK);
  // The whole window before any press: what every later moment is compared with.
  EXPECT_EQ(ShownBy(f, toolkit),
            (Shown{{"frmKalmorChecker", "Kalmor Funktionstester " KALMOR_TITLE_VERSION}, {"rahmen(11)", "Betriebssystem"},
                   {"lblOSVersion", "Windows 7 Ultimate Edition, 64-Bit"}, {"Frame3", "Testeinstellungen"},
                   {"lblLanguage", "Sprache:"}, {"lstLanguage", "0 of { \"Deutsch\", \"English\" }"},
                   {"lblTask", "Aufgabe:"}, {"lstTask", "0 of { \"#3\", \"#4\", \"s#7\" }"},
                   {"lblMode", "Kalmor-Aufrufmodus:"}, {"lstKalmorBitVersion", "1 of { \"32-Bit\", \"64-Bit\" }"},
                   {"Label1", "Modus:"}, {"lstKalmorCallingMode", "0 of { \"1\", \"2\", \"3\", \"4\" }"},
                   {"rahmen(14)", "Prüfstatus"}, {"bild(0)", " information"}, {"lblStatus", kPressStartDe},
                   {"frameTime", " hidden"}, {"lbl(1)", "Zeit:"}, {"lblResult", ""},
                   {"lblTimer", "00:00:00 tip: Zeigt die verstrichene Lösezeit an während Kalmor ein Problem löst"},
                   {"cmdOK", "Starten warning"}, {"cmdClose", "Schliessen error"}, {"cmdDummy", " information"},
                   {"lblTestvariante", " hidden"}, {"lbl(28)", " hidden"}, {"tbLanguage", " hidden"},
                   {"Timer1", " off"}}));
}

TEST_F(StartUp, TaskListFollowsThePlainTaskFilesPresent) {
  const std::tuple<Items, Items, int> cases[] = {  // files present, list, item selected
      {{}, {}, -1},
      {{"test_#4.INP", "test_s#7.INP"}, {"#4", "s#7"}, -1},
      {{"test_#3.INP", "test_s#7.INP"}, {"#3", "s#7"}, 0},
      {{"test_#3.INP hidden", "test_#4.INP folder"}, {}, -1},
  };
  for (const auto& [files, items, selected] : cases) {
    LoadedWindow w([&files = files](FakePlatform& p) {  // (clang cannot capture a binding itself)
      for (const auto& entry : files) {
        FakeFile& file = p.put(entry.substr(0, entry.find(' ')));
        file.hidden = entry.ends_with("hidden");
        file.folder = entry.ends_with("folder");
      }
    });
    SCOPED_TRACE(::testing::PrintToString(files));
    EXPECT_EQ(w.f.lstTask.items(), items);
    EXPECT_EQ(w.f.lstTask.listIndex(), selected);
    EXPECT_EQ(w.f.cmdOK.enabled(), !items.empty());
    EXPECT_EQ(w.f.initialFocus(), items.empty() ? &w.f.cmdClose : static_cast<Control*>(&w.f.cmdOK));
    w.toolkit.click(w.f.cmdOK);  // a greyed button cannot be pressed
    EXPECT_EQ(w.f.frameTime.visible(), !items.empty());
  }
}

// The system line adds the width only when the system's name has none.
TEST_F(StartUp, SolverBuildAndSystemLineFollowTheSystemWidthAndTheFilesPresent) {
  // Builds present, 64-bit system, its name; the solver chosen, whether it is missing, the system line.
  const std::tuple<bool, bool, bool, std::optional<std::string>, std::string, bool, const char*> cases[] = {
      {false, false, false, "Windows XP", "kmwin32.exe", true, "Windows XP, 32-Bit"},
      {true, false, false, "Windows 10 Pro , 64-BIT", "kmwin32.exe", false, "Windows 10 Pro , 64-BIT"},
      {false, true, false, std::nullopt, "kmwin32.exe", true, "not identified, 32-Bit"},
      {true, false, true, "Windows Vista , 32-bit", "kmwin64.exe", true, "Windows Vista , 32-bit"},
      {false, true, true, std::nullopt, "kmwin64.exe", false, "not identified, 64-Bit"},
  };
  for (const auto& [has32, has64, is64, name, solverExe, missing, line] : cases) {
    LoadedWindow w([has32 = has32, has64 = has64, is64 = is64, &name = name](FakePlatform& p) {
      p.put("test_#3.INP");
      if (has32) p.put("kmwin32.exe");
      if (has64) p.put("kmwin64.exe");
      p.systemTypes.objects = {is64 ? "x64-based PC" : "X86-based PC"};
      p.osName = name;
    });
    SCOPED_TRACE(line);
    EXPECT_EQ(w.f.lblOSVersion.caption(), line);
    EXPECT_EQ(w.f.lstKalmorBitVersion.listCount(), is64 ? 2 : 1);
    EXPECT_EQ(w.f.SolverExe, solverExe);
    EXPECT_EQ(w.f.lblStatus.caption(), missing ? solverExe + " fehlt/is missing!" : kPressStartDe);
    EXPECT_EQ(w.f.bild0.picture(), missing ? Picture::Error : Picture::Information);
    EXPECT_TRUE(w.f.cmdOK.enabled());  // a missing solver is reported by the run
  }
}

TEST_F(StartUp, ChoosingABuildOrTaskSetsWhatTheNextRunUses) {
  platform.put("test_#4.INP");
  platform.put("test_s#7.INP");
  platform.put("kmwin32.exe");
  auto& f = load();
  for (const auto& [index, file] : {std::pair{0, "test_#4.INP"}, {1, "test_s#7.INP"}, {-1, "test_s#7.INP"}}) {
    toolkit.choose(f.lstTask, index);
    EXPECT_EQ(f.TaskFile, file) << index;
  }
  f.lblResult.setCaption("old result");
  toolkit.choose(f.lstKalmorBitVersion, 0);
  EXPECT_EQ(f.SolverExe, "kmwin32.exe");
  EXPECT_EQ(f.lblResult.caption(), "");  // a present build clears the result
  f.lblResult.setCaption("old result");
  toolkit.choose(f.lstKalmorBitVersion, 1);
  EXPECT_EQ(f.lblResult.caption(), "old result");  // a missing one keeps it
  EXPECT_EQ(f.lblStatus.caption(), "kmwin64.exe fehlt/is missing!");
}

using Language = WindowTest;

TEST_F(Language, EveryTextInBothLanguages) {
  putEverything();
  auto& f = load();
  const std::tuple<std::function<std::string()>, const char*, const char*> targets[] = {
      {[&] { return f.form.caption(); }, "Kalmor Funktionstester " KALMOR_TITLE_VERSION,
       "Kalmor function tester " KALMOR_TITLE_VERSION},
      {[&] { return f.rahmen(14).caption(); }, "Prüfstatus", "Testing status"},
      {[&] { return f.lbl(1).caption(); }, "Zeit:", "Time:"},
      {[&] { return f.rahmen(11).caption(); }, "Betriebssystem", "Operating system"},
      {[&] { return f.lblTask.caption(); }, "Aufgabe:", "Task:"},
      {[&] { return f.cmdClose.caption(); }, "Schliessen", "Close"},
      {[&] { return f.SolutionCreatedText; }, "Lösungs-Datei erstellt:", "Solution file created:"},
      {[&] { return f.lblMode.caption(); }, "Kalmor-Aufrufmodus:", "Kalmor calling mode:"},
      {[&] { return f.lblLanguage.caption(); }, "Sprache:", "Language:"},
      {[&] { return f.Frame3.caption(); }, "Testeinstellungen", "Test settings"},
      {[&] { return f.Label1.caption(); }, "Modus:", "Mode:"},
  };
  for (const int language : {1, 0}) {
    toolkit.choose(f.lstLanguage, language);
    for (const auto& [read, de, en] : targets) EXPECT_EQ(read(), language == 0 ? de : en);
  }
}

TEST_F(Language, NoChoiceOrAMissingPartLeavesTheTextsAndAShownSolverGapStays) {
  platform.put("test_#3.INP");
  platform.put("kmwin32.exe");
  auto& f = load();
  for (const char* caption : {"Start", "Starten"}) {
    toolkit.choose(f.lstLanguage, caption == std::string("Start"));
    f.lstLanguage.setListIndex(-1);  // no language chosen: nothing changes
    f.lstLanguage_Click();
    EXPECT_EQ(f.cmdOK.caption(), caption);
  }
  std::string table = f.tbLanguage.text();
  table.replace(table.find("Schliessen@Close"), 16, "Schliessen");
  f.tbLanguage.setText(table);
  toolkit.choose(f.lstLanguage, 1);
  EXPECT_EQ(f.cmdClose.caption(), "Schliessen");
  EXPECT_EQ(f.cmdOK.caption(), "Start");  // the other steps still apply
  // Before a run, the status line follows only with the solver present.
  EXPECT_EQ(f.lblStatus.caption(), "kmwin64.exe fehlt/is missing!");
  toolkit.choose(f.lstKalmorBitVersion, 0);
  EXPECT_EQ(f.lblStatus.caption(), "Please press the \"Start\" button");
  toolkit.choose(f.lstLanguage, 0);
  EXPECT_EQ(f.lblStatus.caption(), kPressStartDe);
}

}  // namespace
}  // namespace kalmor::testing
