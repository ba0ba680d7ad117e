// kalmor-check's options, the reason a run failed and the exit status.
#include <gtest/gtest.h>

#include "cli/check_options.h"
#include "cli/run_report.h"
#include "testbench/failure_reason.h"

namespace kalmor {
namespace {

// The values themselves are seen by the program's run beside the stand-in.
TEST(CheckOptions, BadOnesAreRefusedWithAReason) {
  for (const auto& bad : std::vector<std::vector<std::string>>{
           {"--task", "#3"}, {"--mode", "5"}, {"--build"}, {"--lang", "fr"},
           {"--timeout", "0"}, {"--timeout", "2s"}, {"extra"}}) {
    CheckOptions ignored;
    std::string error;
    EXPECT_TRUE(!ParseCheckOptions(bad, ignored, error) && !error.empty()) << bad[0];
  }
}

TEST(SolverFailureReason, NamesTheExitTheWaySystemsDo) {
  using Kind = ProcessExit::Kind;
  EXPECT_EQ(SolverFailureReason({Kind::Code, 0, ""}, 1),
            "Kalmor ended with exit code 0 (no error) but did not write KM.OUT.");
  EXPECT_EQ(SolverFailureReason({Kind::Code, 3, ""}, 0),
            "Kalmor endete mit Exit-Code 3, ohne KM.OUT zu schreiben.");
  EXPECT_EQ(SolverFailureReason({Kind::Signal, 6, ""}, 0),
            "Kalmor wurde durch Signal 6 beendet, ohne KM.OUT zu schreiben.");
  EXPECT_EQ(SolverFailureReason({}, 1), "Kalmor ended without writing KM.OUT.");
}

TEST(CheckExitStatus, AllPassedFailedOrNothingRan) {
  using O = RunOutcome;
  const std::pair<std::vector<O>, int> cases[] = {
      {{O::Passed, O::Passed}, 0}, {{O::Passed, O::Aborted}, 1}, {{O::CouldNotStart, O::Failed}, 1},
      {{O::CouldNotStart, O::CouldNotStart}, 2}, {{O::Passed, O::Refused}, 2}, {{}, 2}};
  for (const auto& [outcomes, status] : cases) {
    std::vector<RunResult> runs(outcomes.size());
    for (std::size_t i = 0; i < runs.size(); ++i) runs[i].outcome = outcomes[i];
    EXPECT_EQ(ExitStatus(runs), status) << ::testing::PrintToString(outcomes);
  }
}

// What is not well-formed UTF-8 becomes U+FFFD byte by byte in both reports;
// the text report writes controls out instead of sending them to the terminal.
TEST(Report, AnyFirstLineStaysValidJsonAndHarmlessText) {
  const auto r = [](int n) {
    std::string s;
    while (n-- > 0) s += "\xEF\xBF\xBD";
    return s;
  };
  const std::tuple<std::string, std::string, std::string> cases[] = {
      // raw, in JSON, in the text report: quote, backslash, control, Latin-1 and UTF-8 umlauts
      {"a\"b\\\x01\xE4\xC3\xA4", "a\\\"b\\\\\\u0001" + r(1) + "\xC3\xA4", "a\"b\\\\x01" + r(1) + "\xC3\xA4"},
      {"\xC0\xAF\xE0\x80\xAF\xF0\x8F\xBF\xBF", r(9), r(9)},  // overlong forms
      {"\xED\xA0\x80\xF4\x90\x80\x80\xF8\x88\x80\x80\x80", r(12), r(12)},  // surrogate, past U+10FFFF
      {"\xE2\x82x\xF0\x9F\x98", r(2) + "x" + r(3), r(2) + "x" + r(3)},  // cut short
      {"\xF4\x8F\xBF\xBF\xED\x9F\xBF\xE0\xA0\x80", "\xF4\x8F\xBF\xBF\xED\x9F\xBF\xE0\xA0\x80",
       "\xF4\x8F\xBF\xBF\xED\x9F\xBF\xE0\xA0\x80"},  // the edges that are valid
      {"\x1B]0;x\x07\x1B[2J\x7F\xC2\x9B" "1m", "\\u001b]0;x\\u0007\\u001b[2J\x7F\xC2\x9B" "1m",
       "\\x1b]0;x\\x07\\x1b[2J\\x7f\\u009b1m"},  // escape sequences, DEL, a C1 control
  };
  for (const auto& [raw, inJson, inText] : cases) {
    RunResult run;
    run.detail = raw;
    const std::string json = JsonReport({run}, "/f", 1, 2);
    EXPECT_NE(json.find("\"detail\": \"" + inJson + "\""), std::string::npos) << json;
    EXPECT_EQ(RunLine(run, 1), "    mode 0  error  0.000 s  " + inText);
  }
}

}  // namespace
}  // namespace kalmor
