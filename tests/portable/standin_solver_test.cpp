// Our stand-in solver's reading of its input and command line: the end-to-end
// suites trust it to report what it was given.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tools/standin_solver/child_command.h"
#include "tools/standin_solver/command_tail.h"
#include "tools/standin_solver/protocol_text.h"
#include "tools/standin_solver/solver_script.h"

namespace kalmor::standin {
namespace {

using std::chrono::milliseconds;

TEST(StandinScript, LinesProtocolLineAndDirectives) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd\n\re\r\n"), (std::vector<std::string_view>{"a", "b", "c", "d", "", "e"}));
  const SolverScript plain = ParseSolverScript("Stipulation #3\r\nProtokoll C:\\Program Files\\KM.OUT  \r\nwKe1\r\n");
  EXPECT_EQ(plain.protocolPath, "C:\\Program Files\\KM.OUT");
  EXPECT_EQ(plain.taskLines, 2);
  EXPECT_EQ(plain.output, OutputMode::Normal);
  for (const char* notProtocol : {"protokoll /t/KM.OUT\n", "Protokollieren /t/KM.OUT\n", "<Protokoll>\n"}) {
    EXPECT_FALSE(ParseSolverScript(notProtocol).protocolPath) << notProtocol;
  }
  const SolverScript script = ParseSolverScript(
      "%standin sleep 1500\r\n%standin\texit  -7\r\n%standin crash\r\n%standin child 250\r\n%standin nowrite\r\n"
      " %standin empty\r\n");
  EXPECT_TRUE(script.errors.empty());
  EXPECT_EQ(script.sleep, milliseconds(1500));
  EXPECT_EQ(script.exitCode, -7);
  EXPECT_TRUE(script.crash);
  EXPECT_EQ(script.childSleep, milliseconds(250));
  EXPECT_EQ(script.output, OutputMode::Suppressed);  // a directive must start its line
  EXPECT_EQ(ParseSolverScript("%standin nowrite\n%standin empty\n").output, OutputMode::Empty);
}

TEST(StandinScript, BadDirectivesAreReportedAndTakeNoEffect) {
  const SolverScript script =
      ParseSolverScript("task\n%standin slep 10\n%standin sleep ten\n%standin crash now\n%standin exit 1 2\n");
  ASSERT_EQ(script.errors.size(), 4u);
  EXPECT_EQ(script.errors[0], "line 2: unknown directive 'slep'");
  EXPECT_EQ(script.sleep, milliseconds(0));
  EXPECT_FALSE(script.crash);
  EXPECT_EQ(script.exitCode, 0);
}

TEST(StandinCommandTail, FindsTheInputPathHoweverItWasSplit) {
  const std::set<std::string> files{"C:\\My Tools\\Check\\TMP_INPUT.INP"};
  const auto exists = [&files](const std::string& p) { return files.count(p) > 0; };
  const std::vector<std::string> splits[] = {
      {"C:\\My Tools\\Check\\TMP_INPUT.INP"},
      {"\"C:\\My", "Tools\\Check\\TMP_INPUT.INP\""},
      {"C:\\My", "Tools\\Check\\TMP_INPUT.INP"},
      {"Tools\\Check\\kmwin32.exe", "C:\\My", "Tools\\Check\\TMP_INPUT.INP"},
  };
  for (const auto& args : splits) EXPECT_EQ(InputPathFromArguments(args, exists), *files.begin());
  EXPECT_EQ(InputPathFromArguments({"a", "b"}, [](const std::string&) { return false; }), "a b");
  EXPECT_EQ(CallsLogLine({"C:\\My", "\"C:\\My Tools\\x\"", ""}), "3 [C:\\My] [\"C:\\My Tools\\x\"] []");
}

TEST(StandinProtocol, FirstLineCountsTheTaskAndLinesEndWithCrLf) {
  const SolverScript script = ParseSolverScript("Stipulation #3\r\nProtokoll /t/KM.OUT\r\nwKe1\r\n");
  const std::string text = ProtocolText(script, "/t/TMP_INPUT.INP");
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "Kalmor stand-in: 2 lines solved");
  EXPECT_NE(text.find("\r\nInput: /t/TMP_INPUT.INP\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_TRUE(ProtocolText(ParseSolverScript("task\n%standin empty\n"), "in").empty());
}

TEST(StandinChild, StartedDetachedOnBothSystems) {
  EXPECT_EQ(ChildCommand(Shell::Posix, "/opt/it's here/standin", milliseconds(800), "/tmp/a b/child.log"),
            "'/opt/it'\\''s here/standin' --standin-child 800 '/tmp/a b/child.log' </dev/null >/dev/null 2>&1 &");
  EXPECT_EQ(ChildCommand(Shell::WindowsCmd, "C:\\a b\\kmwin32.exe", milliseconds(5), "C:\\a b\\"),
            "start \"\" /B \"C:\\a b\\kmwin32.exe\" --standin-child 5 \"C:\\a b\\\\\" <NUL >NUL 2>&1");
}

}  // namespace
}  // namespace kalmor::standin
