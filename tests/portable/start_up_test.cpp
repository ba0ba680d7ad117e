#include <gtest/gtest.h>

#include "i18n/get_field.h"
#include "tests/support/window_fixture.h"

namespace kalmor::testing {
namespace {

using StartUp = WindowTest;

TEST_F(StartUp, EverythingPresentOn64BitGermanSystem) {
  putEverything();
  auto& f = load();
  EXPECT_EQ(f.lstTask.items(), (std::vector<std::string>{"#3", "#4", "s#7"}));
  EXPECT_EQ(f.lstTask.listIndex(), 0);
  EXPECT_EQ(f.TaskFile, "test_#3.INP");
  EXPECT_EQ(f.lstKalmorBitVersion.items(), (std::vector<std::string>{"32-Bit", "64-Bit"}));
  EXPECT_EQ(f.lstKalmorBitVersion.listIndex(), 1);
  EXPECT_EQ(f.SolverExe, "kmwin64.exe");
  EXPECT_FALSE(f.SolverMissing);
  EXPECT_EQ(f.lstKalmorCallingMode.items(), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(f.lstKalmorCallingMode.listIndex(), 0);
  EXPECT_TRUE(f.cmdOK.enabled());
  EXPECT_EQ(f.initialFocus(), &f.cmdOK);

  EXPECT_EQ(f.lstLanguage.items(), (std::vector<std::string>{"Deutsch", "English"}));
  EXPECT_EQ(f.lstLanguage.listIndex(), 0);
  EXPECT_EQ(f.form.caption(), "Kalmor Funktionstester 3.0 Build 25");
  EXPECT_EQ(f.lblStatus.caption(), "Bitte betätigen Sie den \"Starten\"-Button");
  EXPECT_EQ(f.bild0.picture(), Picture::Information);
  EXPECT_TRUE(f.bild0.visible());
  EXPECT_EQ(f.lblResult.caption(), "");
  EXPECT_EQ(f.lblOSVersion.caption(), "Windows 7 Ultimate Edition, 64-Bit");

  EXPECT_EQ(f.cmdDummy.rect().left, -1200);
  EXPECT_TRUE(f.cmdDummy.visible());
  EXPECT_FALSE(f.frameTime.visible());
  EXPECT_FALSE(f.lblTestvariante.visible());
  EXPECT_FALSE(f.lbl(28).visible());
  EXPECT_FALSE(f.tbLanguage.visible());
  EXPECT_FALSE(f.Timer1.enabled());
  EXPECT_EQ(f.Timer1.interval(), 500);
  EXPECT_EQ(GetField(f.lbl(28).caption(), 11, "#"), "Prüfung beendet");
  EXPECT_EQ(f.tbLanguage.text().find('\r'), std::string::npos);
}

TEST_F(StartUp, TaskListFollowsTheFilesPresent) {
  struct Case {
    std::vector<std::string> files;
    std::vector<std::string> items;
    int selected;
    const char* taskFile;
    bool startEnabled;
  };
  const Case cases[] = {
      {{}, {}, -1, "", false},
      {{"test_s#7.INP"}, {"s#7"}, -1, "", true},
      {{"test_#4.INP", "test_s#7.INP"}, {"#4", "s#7"}, -1, "", true},
      {{"test_#3.INP", "test_s#7.INP"}, {"#3", "s#7"}, 0, "test_#3.INP", true},
  };
  for (const Case& c : cases) {
    FakePlatform p;
    for (const auto& name : c.files) p.put(name);
    HeadlessToolkit t;
    frmKalmorChecker f(p, t);
    t.attach(f);
    f.Form_Load();
    EXPECT_EQ(f.lstTask.items(), c.items);
    EXPECT_EQ(f.lstTask.listIndex(), c.selected);
    EXPECT_EQ(f.TaskFile, c.taskFile);
    EXPECT_EQ(f.cmdOK.enabled(), c.startEnabled);
    EXPECT_EQ(f.initialFocus(), c.startEnabled ? static_cast<Control*>(&f.cmdOK) : &f.cmdClose);
  }
}

TEST_F(StartUp, HiddenFilesAndFoldersDoNotCount) {
  platform.put("test_#3.INP");
  platform.file("test_#3.INP").hidden = true;
  platform.put("test_#4.INP");
  platform.file("test_#4.INP").folder = true;
  platform.put("kmwin64.exe");
  platform.file("kmwin64.exe").folder = true;
  auto& f = load();
  EXPECT_TRUE(f.lstTask.items().empty());
  EXPECT_TRUE(f.SolverMissing);
}

TEST_F(StartUp, ThirtyTwoBitSystemOffersOnlyThirtyTwoBit) {
  putEverything();
  platform.systemTypes = {"X86-based PC"};
  platform.osName = "Windows XP Professional (Service Pack 3)";
  auto& f = load();
  EXPECT_EQ(f.lstKalmorBitVersion.items(), (std::vector<std::string>{"32-Bit"}));
  EXPECT_EQ(f.lstKalmorBitVersion.listIndex(), 0);
  EXPECT_EQ(f.SolverExe, "kmwin32.exe");
  EXPECT_EQ(f.lblOSVersion.caption(), "Windows XP Professional (Service Pack 3), 32-Bit");
}

TEST_F(StartUp, OsLineAddsTheWidthOnlyWhenTheNameHasNone) {
  struct Case {
    std::optional<std::string> name;
    std::vector<std::string> types;
    bool wmi;
    const char* line;
  };
  const Case cases[] = {
      {"Windows 10 Pro , 64-Bit", {"x64-based PC"}, true, "Windows 10 Pro , 64-Bit"},
      {"Windows 10 Pro , 64-BIT", {"X86-based PC"}, true, "Windows 10 Pro , 64-BIT"},
      {"Windows Vista , 32-bit", {"x64-based PC"}, true, "Windows Vista , 32-bit"},
      {std::nullopt, {"x64-based PC"}, true, "not identified, 64-Bit"},
      {std::nullopt, {}, false, "not identified, 32-Bit"},
      {"Windows 2000 Professional", {}, false, "Windows 2000 Professional, 32-Bit"},
      {"", {"x64-based PC"}, true, ", 64-Bit"},
  };
  for (const Case& c : cases) {
    FakePlatform p;
    p.osName = c.name;
    p.systemTypes = c.types;
    p.wmiWorks = c.wmi;
    HeadlessToolkit t;
    frmKalmorChecker f(p, t);
    f.Form_Load();
    EXPECT_EQ(f.lblOSVersion.caption(), c.line);
    EXPECT_EQ(f.lstKalmorBitVersion.listCount(), c.wmi && !c.types.empty() &&
                                                         c.types.back().find("x64") !=
                                                             std::string::npos
                                                     ? 2
                                                     : 1);
  }
}

TEST_F(StartUp, StartLanguageFollowsTheCountryCode) {
  for (const auto& [code, language, title] :
       {std::tuple{"49", 0, "Kalmor Funktionstester 3.0 Build 25"},
        std::tuple{"1", 1, "Kalmor function tester 3.0 Build 25"},
        std::tuple{"43", 1, "Kalmor function tester 3.0 Build 25"},
        std::tuple{"", 1, "Kalmor function tester 3.0 Build 25"}}) {
    FakePlatform p;
    p.countryCode = code;
    HeadlessToolkit t;
    frmKalmorChecker f(p, t);
    f.Form_Load();
    EXPECT_EQ(f.lstLanguage.listIndex(), language) << code;
    EXPECT_EQ(f.form.caption(), title) << code;
  }
}

}  // namespace
}  // namespace kalmor::testing
