#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"

namespace kalmor::testing {
namespace {

using SolverSelection = WindowTest;

TEST_F(SolverSelection, StartUpWithEachSetOfSolverFilesOn32And64BitSystems) {
  struct Case {
    bool has32, has64, is64;
    const char* solverExe;
    const char* status;
    Picture picture;
  };
  const char* press = "Bitte betätigen Sie den \"Starten\"-Button";
  const Case cases[] = {
      {false, false, false, "kmwin32.exe", "kmwin32.exe fehlt/is missing!", Picture::Error},
      {true, false, false, "kmwin32.exe", press, Picture::Information},
      {false, true, false, "kmwin32.exe", "kmwin32.exe fehlt/is missing!", Picture::Error},
      {true, true, false, "kmwin32.exe", press, Picture::Information},
      {false, false, true, "kmwin64.exe", "kmwin64.exe fehlt/is missing!", Picture::Error},
      {true, false, true, "kmwin64.exe", "kmwin64.exe fehlt/is missing!", Picture::Error},
      {false, true, true, "kmwin64.exe", press, Picture::Information},
      {true, true, true, "kmwin64.exe", press, Picture::Information},
  };
  for (const Case& c : cases) {
    FakePlatform p;
    p.put("test_#3.INP");
    if (c.has32) p.put("kmwin32.exe");
    if (c.has64) p.put("kmwin64.exe");
    p.systemTypes = {c.is64 ? "x64-based PC" : "X86-based PC"};
    HeadlessToolkit t;
    frmKalmorChecker f(p, t);
    t.attach(f);
    f.Form_Load();
    const std::string label = std::string(c.has32 ? "32 " : "") + (c.has64 ? "64 " : "") +
                              (c.is64 ? "on 64-bit" : "on 32-bit");
    EXPECT_EQ(f.SolverExe, c.solverExe) << label;
    EXPECT_EQ(f.lblStatus.caption(), c.status) << label;
    EXPECT_EQ(f.bild0.picture(), c.picture) << label;
    EXPECT_EQ(f.SolverMissing, c.picture == Picture::Error) << label;
    EXPECT_TRUE(f.cmdOK.enabled()) << label;  // a missing solver is reported by the run
  }
}

TEST_F(SolverSelection, ChoosingAPresentBuildClearsTheResultButAMissingOneKeepsIt) {
  platform.put("test_#3.INP");
  platform.put("kmwin32.exe");
  auto& f = load();
  f.lblResult.setCaption("old result");
  toolkit.choose(f.lstKalmorBitVersion, 0);
  EXPECT_EQ(f.lblResult.caption(), "");
  f.lblResult.setCaption("old result");
  toolkit.choose(f.lstKalmorBitVersion, 1);
  EXPECT_EQ(f.lblResult.caption(), "old result");
  EXPECT_EQ(f.lblStatus.caption(), "kmwin64.exe fehlt/is missing!");
}

TEST_F(SolverSelection, SolverAddedLaterIsSeenOnlyWhenTheBuildIsChosenAgain) {
  platform.put("test_#3.INP");
  platform.put("kmwin32.exe");
  auto& f = load();
  platform.put("kmwin64.exe");
  EXPECT_TRUE(f.SolverMissing);
  toolkit.choose(f.lstKalmorBitVersion, 0);
  toolkit.choose(f.lstKalmorBitVersion, 1);
  EXPECT_FALSE(f.SolverMissing);
}

TEST_F(SolverSelection, TaskItemsMapToTheirFiles) {
  platform.put("test_#4.INP");
  platform.put("test_s#7.INP");
  auto& f = load();
  EXPECT_EQ(f.lstTask.items(), (std::vector<std::string>{"#4", "s#7"}));
  EXPECT_EQ(f.TaskFile, "");
  toolkit.choose(f.lstTask, 0);
  EXPECT_EQ(f.TaskFile, "test_#4.INP");
  toolkit.choose(f.lstTask, 1);
  EXPECT_EQ(f.TaskFile, "test_s#7.INP");
  toolkit.choose(f.lstTask, -1);
  EXPECT_EQ(f.TaskFile, "test_s#7.INP");  // no selection keeps the last choice
}

}  // namespace
}  // namespace kalmor::testing
