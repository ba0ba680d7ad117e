// Links that would lead the run's writes to the wrong file: a task that is the
// solver's input under another name, and an old KM.OUT that is a link.
#include "tests/faults/fault_fixture.h"

namespace kalmor::faults {
namespace {

using LinkFaults = FaultRun;

TEST_F(LinkFaults, TaskThatIsTheInputUnderAnotherNameIsRefused) {
  // Copied into itself, it would be emptied, or grow without end while the
  // window froze.
  struct Case {
    const char* what;
    const char* file;
    const char* link;
    bool hard;
  };
  const Case cases[] = {
      {"task links to the input", "TMP_INPUT.INP", "test_#3.INP", false},
      {"input links to the task", "test_#3.INP", "TMP_INPUT.INP", false},
      {"one file, two names", "TMP_INPUT.INP", "test_#3.INP", true},
  };
  const std::string input = "Stipulation #3\r\n<Protokoll>\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(folder / "test_#3.INP");
    fs::remove(folder / "TMP_INPUT.INP");
    Spit(folder / c.file, input);
    if (c.hard) {
      fs::create_hard_link(folder / c.file, folder / c.link);
    } else {
      fs::create_symlink(c.file, folder / c.link);
    }
    auto& f = load();
    const Snapshot before = TakeSnapshot(folder);
    press(nullptr, std::chrono::seconds(5));
    expectOutcome({"Bereit",
                   "Die Aufgabe und TMP_INPUT.INP sind dieselbe Datei; der Test startet nicht.",
                   kRed, "&Start"});
    EXPECT_EQ(f.uProc.processId, 0u);
    EXPECT_EQ(Slurp(folder / "test_#3.INP"), input);
    expectOnlyRunFilesChanged(before);
  }
}

TEST_F(LinkFaults, OldResultThatIsALinkGoesAsALinkAndItsTargetStays) {
  struct Case {
    const char* what;
    bool targetExists;
  };
  for (const Case c : {Case{"dangling", false}, Case{"to a file outside", true}}) {
    SCOPED_TRACE(c.what);
    const fs::path outside = base / "outside.txt";
    fs::remove(outside);
    if (c.targetExists) Spit(outside, "not the checker's\r\n");
    fs::remove(folder / "KM.OUT");
    fs::create_symlink(outside, folder / "KM.OUT");
    task("<Protokoll>\r\n");
    load();
    press();
    const std::string output = Slurp(folder / "KM.OUT");
    expectOutcome(Passed(output.substr(0, output.find('\r'))));
    EXPECT_FALSE(fs::is_symlink(folder / "KM.OUT")) << "the solver wrote through the old link";
    EXPECT_EQ(fs::exists(outside), c.targetExists);
    if (c.targetExists) {
      EXPECT_EQ(Slurp(outside), "not the checker's\r\n");
    }
  }
}

}  // namespace
}  // namespace kalmor::faults
