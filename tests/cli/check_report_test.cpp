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
    EXPECT_FALSE(ParseCheckOptions(bad, ignored, error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(SolverFailureReason, NamesTheExitTheWaySystemsDo) {
  using Kind = ProcessExit::Kind;
  EXPECT_EQ(SolverFailureReason({Kind::Code, 0}, "", 1),
            "Kalmor ended with exit code 0 (no error) but did not write KM.OUT.");
  EXPECT_EQ(SolverFailureReason({Kind::Code, 3}, "", 0),
            "Kalmor endete mit Exit-Code 3, ohne KM.OUT zu schreiben.");
  EXPECT_EQ(SolverFailureReason({Kind::Signal, 6}, "", 0),
            "Kalmor wurde durch Signal 6 beendet, ohne KM.OUT zu schreiben.");
  EXPECT_EQ(SolverFailureReason({}, "", 1), "Kalmor ended without writing KM.OUT.");
}

TEST(CheckExitStatus, AllPassedFailedOrNothingRan) {
  using O = RunOutcome;
  const std::pair<std::vector<O>, int> cases[] = {
      {{O::Passed, O::Passed}, 0}, {{O::Passed, O::Aborted}, 1}, {{O::Error, O::Failed}, 1},
      {{O::Error, O::Error}, 2}, {{}, 2}};
  for (const auto& [outcomes, status] : cases) {
    std::vector<RunResult> runs(outcomes.size());
    for (std::size_t i = 0; i < runs.size(); ++i) runs[i].outcome = outcomes[i];
    EXPECT_EQ(ExitStatus(runs), status) << ::testing::PrintToString(outcomes);
  }
}

TEST(JsonReport, AnyFirstLineStaysValidJson) {
  RunResult run;
  run.detail = "a\"b\\\x01\xE4\xC3\xA4";  // quote, backslash, control, Latin-1 and UTF-8 umlauts
  const std::string json = JsonReport({run}, "/f", 1, 2);
  EXPECT_NE(json.find("\"detail\": \"a\\\"b\\\\\\u0001\xEF\xBF\xBD\xC3\xA4\""), std::string::npos)
      << json;
}

}  // namespace
}  // namespace kalmor
