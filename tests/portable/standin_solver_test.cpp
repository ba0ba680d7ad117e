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

TEST(StandinLines, EveryKindOfLineEndEndsALine) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\n\nc\r\rd"),
            (std::vector<std::string_view>{"a", "", "b", "", "c", "", "d"}));
  // LF CR is two line ends, not one.
  EXPECT_EQ(SplitLines("a\n\rb"), (std::vector<std::string_view>{"a", "", "b"}));
}

TEST(StandinLines, FinalTerminatorAddsNoLine) {
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string_view>{"a"}));
  EXPECT_EQ(SplitLines("a\r"), (std::vector<std::string_view>{"a"}));
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(SplitLines("\r\n"), (std::vector<std::string_view>{""}));
}

TEST(StandinScript, ProtocolLineNamesTheOutputFile) {
  const SolverScript script =
      ParseSolverScript("Stipulation #3\r\nProtokoll C:\\Program Files\\Kalmor\\KM.OUT  \r\nwKe1\r\n");
  ASSERT_TRUE(script.protocolPath.has_value());
  EXPECT_EQ(*script.protocolPath, "C:\\Program Files\\Kalmor\\KM.OUT");
  EXPECT_EQ(script.taskLines, 2);
  EXPECT_EQ(script.firstTaskLine, "Stipulation #3");
  EXPECT_TRUE(script.errors.empty());
}

TEST(StandinScript, OnlyTheExactKeywordFollowedByABlankIsAProtocolLine) {
  EXPECT_FALSE(ParseSolverScript("protokoll /tmp/KM.OUT\n").protocolPath);
  EXPECT_FALSE(ParseSolverScript("Protokollieren /tmp/KM.OUT\n").protocolPath);
  EXPECT_FALSE(ParseSolverScript("<Protokoll>\n").protocolPath);
  EXPECT_EQ(ParseSolverScript("  Protokoll\t/tmp/x/KM.OUT\n").protocolPath, "/tmp/x/KM.OUT");
  EXPECT_EQ(ParseSolverScript("Protokoll /a/KM.OUT\nProtokoll /b/KM.OUT\n").protocolPath,
            "/b/KM.OUT");
  EXPECT_EQ(ParseSolverScript("Protokoll   \n").errors.size(), 1u);
}

TEST(StandinScript, WithoutDirectivesTheSolverJustWrites) {
  const SolverScript script = ParseSolverScript("Protokoll /t/KM.OUT\n");
  EXPECT_EQ(script.sleep, milliseconds(0));
  EXPECT_EQ(script.output, OutputMode::Normal);
  EXPECT_EQ(script.exitCode, 0);
  EXPECT_FALSE(script.crash);
  EXPECT_FALSE(script.childSleep);
}

TEST(StandinScript, DirectivesSetTheirBehaviour) {
  const SolverScript script = ParseSolverScript(
      "%standin sleep 1500\r\n%standin\texit  -7\r\n%standin crash\r\n%standin child 250\r\n"
      "%standin nowrite\r\n");
  EXPECT_TRUE(script.errors.empty());
  EXPECT_EQ(script.sleep, milliseconds(1500));
  EXPECT_EQ(script.exitCode, -7);
  EXPECT_TRUE(script.crash);
  EXPECT_EQ(script.childSleep, milliseconds(250));
  EXPECT_EQ(script.output, OutputMode::Suppressed);
  EXPECT_EQ(script.taskLines, 0);
}

TEST(StandinScript, LaterDirectiveOfTheSameKindWins) {
  EXPECT_EQ(ParseSolverScript("%standin nowrite\n%standin empty\n").output, OutputMode::Empty);
  EXPECT_EQ(ParseSolverScript("%standin empty\n%standin nowrite\n").output, OutputMode::Suppressed);
  EXPECT_EQ(ParseSolverScript("%standin sleep 10\n%standin sleep 20\n").sleep, milliseconds(20));
}

TEST(StandinScript, BadDirectivesAreReportedWithTheirLine) {
  const SolverScript script = ParseSolverScript(
      "task\n%standin slep 10\n%standin sleep\n%standin sleep ten\n%standin sleep -5\n"
      "%standin crash now\n%standin\n%standinsleep 5\n%standin exit 1 2\n");
  ASSERT_EQ(script.errors.size(), 8u);
  EXPECT_EQ(script.errors[0], "line 2: unknown directive 'slep'");
  EXPECT_EQ(script.errors[3].substr(0, 7), "line 5:");
  EXPECT_EQ(script.errors[7].substr(0, 7), "line 9:");
  // Nothing of a bad directive takes effect.
  EXPECT_EQ(script.sleep, milliseconds(0));
  EXPECT_FALSE(script.crash);
  EXPECT_EQ(script.exitCode, 0);
}

TEST(StandinScript, DirectiveMustStartTheLine) {
  const SolverScript script = ParseSolverScript(" %standin crash\n");
  EXPECT_FALSE(script.crash);
  EXPECT_EQ(script.taskLines, 1);
}

TEST(StandinCommandTail, QuotedPathArrivesWhole) {
  const std::set<std::string> files{"/tmp/my dir/TMP_INPUT.INP"};
  const auto exists = [&files](const std::string& p) { return files.count(p) > 0; };
  EXPECT_EQ(InputPathFromArguments({"/tmp/my dir/TMP_INPUT.INP"}, exists),
            "/tmp/my dir/TMP_INPUT.INP");
  // Quotes that no argument parser removed.
  EXPECT_EQ(InputPathFromArguments({"\"/tmp/my", "dir/TMP_INPUT.INP\""}, exists),
            "/tmp/my dir/TMP_INPUT.INP");
}

TEST(StandinCommandTail, SplitPathsAreJoinedAndProgramTailsSkipped) {
  const std::set<std::string> files{"C:\\My Tools\\Check\\TMP_INPUT.INP"};
  const auto exists = [&files](const std::string& p) { return files.count(p) > 0; };
  EXPECT_EQ(InputPathFromArguments({"C:\\My", "Tools\\Check\\TMP_INPUT.INP"}, exists),
            "C:\\My Tools\\Check\\TMP_INPUT.INP");
  // "C:\My Tools\Check\kmwin32.exe C:\My Tools\..." split by the runtime's parser,
  // argv[0] being "C:\My".
  EXPECT_EQ(InputPathFromArguments(
                {"Tools\\Check\\kmwin32.exe", "C:\\My", "Tools\\Check\\TMP_INPUT.INP"}, exists),
            "C:\\My Tools\\Check\\TMP_INPUT.INP");
  EXPECT_EQ(InputPathFromArguments(
                {"Tools\\Check\\kmwin32.exe", "C:\\My Tools\\Check\\TMP_INPUT.INP"}, exists),
            "C:\\My Tools\\Check\\TMP_INPUT.INP");
}

TEST(StandinCommandTail, UnknownPathIsTheWholeTail) {
  const auto none = [](const std::string&) { return false; };
  EXPECT_EQ(InputPathFromArguments({"a", "b", "c"}, none), "a b c");
}

TEST(StandinCommandTail, CallsLogShowsEveryArgumentVerbatim) {
  EXPECT_EQ(CallsLogLine({"C:\\My", "Tools\\kmwin32.exe", "\"C:\\My Tools\\TMP_INPUT.INP\""}),
            "3 [C:\\My] [Tools\\kmwin32.exe] [\"C:\\My Tools\\TMP_INPUT.INP\"]");
  EXPECT_EQ(CallsLogLine({"prog", ""}), "2 [prog] []");
}

TEST(StandinCommandTail, FolderPrefixKeepsTheSeparator) {
  EXPECT_EQ(FolderPrefix("C:\\a b\\TMP_INPUT.INP"), "C:\\a b\\");
  EXPECT_EQ(FolderPrefix("/tmp/x/TMP_INPUT.INP"), "/tmp/x/");
  EXPECT_EQ(FolderPrefix("C:/mixed\\TMP_INPUT.INP"), "C:/mixed\\");
  EXPECT_EQ(FolderPrefix("TMP_INPUT.INP"), "");
}

TEST(StandinProtocol, FirstLineCountsTheTaskAndEveryLineEndsWithCrLf) {
  const SolverScript script =
      ParseSolverScript("Stipulation #3\r\nProtokoll /t/KM.OUT\r\n%standin sleep 1\r\nwKe1\r\n\r\n");
  const std::string text = ProtocolText(script, "/t/TMP_INPUT.INP");
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "Kalmor stand-in: 2 lines solved");
  EXPECT_NE(text.find("\r\nTask: Stipulation #3\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nInput: /t/TMP_INPUT.INP\r\n"), std::string::npos);
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      EXPECT_EQ(text[i - 1], '\r') << "at " << i;
    }
    if (text[i] == '\r') {
      EXPECT_EQ(text[i + 1], '\n') << "at " << i;
    }
  }
}

TEST(StandinProtocol, EmptyDirectiveGivesNoContent) {
  EXPECT_TRUE(ProtocolText(ParseSolverScript("task\n%standin empty\n"), "in").empty());
}

TEST(StandinChild, PosixCommandQuotesAndDetaches) {
  const std::string command =
      ChildCommand(Shell::Posix, "/opt/it's here/standin", milliseconds(800), "/tmp/a b/child.log");
  EXPECT_EQ(command,
            "'/opt/it'\\''s here/standin' --standin-child 800 '/tmp/a b/child.log'"
            " </dev/null >/dev/null 2>&1 &");
}

TEST(StandinChild, CmdCommandStartsInTheBackground) {
  EXPECT_EQ(ChildCommand(Shell::WindowsCmd, "C:\\a b\\kmwin32.exe", milliseconds(5), "C:\\a b\\"),
            "start \"\" /B \"C:\\a b\\kmwin32.exe\" --standin-child 5 \"C:\\a b\\\\\" <NUL >NUL 2>&1");
}

}  // namespace
}  // namespace kalmor::standin
