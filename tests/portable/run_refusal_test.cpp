#include <gtest/gtest.h>

#include "tests/support/window_fixture.h"

namespace kalmor::testing {
namespace {

// A folder the run cannot name, or whose name would split the protocol line
// (the solver would write where the second half points), stops the press
// before any file is touched, in the window's language.
using RunRefusal = WindowTest;

TEST_F(RunRefusal, FolderThatTheProtocolLineCannotCarryStopsThePressBeforeAnyFile) {
  putEverything();
  auto& f = load();
  struct Case {
    const char* folder;
    int language;
    const char* text;
  };
  const Case cases[] = {
      {"", 0, "Der Ordner des Programms ist nicht zu ermitteln; der Test startet nicht."},
      {"", 1, "The program's folder cannot be determined; the test does not start."},
      {"C:\\Kal\nmor", 0, "Der Ordnername enthält einen Zeilenumbruch; der Test startet nicht."},
      {"C:\\Kal\rmor", 1, "The folder name holds a line break; the test does not start."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    toolkit.choose(f.lstLanguage, c.language);
    platform.folder = c.folder;
    for (const char* name : {"test_#3.INP", "kmwin64.exe", "KM.OUT"}) platform.put(name);
    toolkit.click(f.cmdOK);

    EXPECT_EQ(f.lblResult.caption(), c.text);
    EXPECT_EQ(f.lblResult.foreColour(), kRed);
    EXPECT_EQ(f.cmdOK.caption(), "&Start");
    EXPECT_FALSE(f.RunInProgress);
    EXPECT_TRUE(platform.creates.empty());
    EXPECT_TRUE(platform.has("KM.OUT")) << "nothing deleted";
    EXPECT_FALSE(platform.has("TMP_INPUT.INP"));
  }
}

}  // namespace
}  // namespace kalmor::testing
