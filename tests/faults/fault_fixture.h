// A checker folder with the real stand-in solver (checker_folder.h) and the
// checks every whole run on the real platform shares: the press is bounded by
// a watchdog that works even while no events are pumped, leaves no process
// behind, and changes no file but TMP_INPUT.INP and KM.OUT (plus the
// stand-in's own logs).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "tests/faults/checker_folder.h"

namespace kalmor::faults {

namespace fs = std::filesystem;

// What the window shows once a press has been handled.
struct Outcome {
  std::string status;
  std::string result;
  Colour resultColour;
  std::string button;
};

// The German texts a run ends with.
Outcome Passed(const std::string& firstLine);
Outcome Failed();
Outcome Aborted();
Outcome SystemError(int number, const std::string& text);

// Every entry below a folder: type, link target, size and small files' content.
using Snapshot = std::map<std::string, std::string>;
Snapshot TakeSnapshot(const fs::path& folder);

std::string Slurp(const fs::path& path);
void Spit(const fs::path& path, const std::string& bytes);

class FaultRun : public ::testing::Test, public CheckerFolder {
 protected:
  FaultRun() : CheckerFolder(KALMOR_STANDIN_SOLVER, "faults") {}
  void SetUp() override;
  void TearDown() override;

  // Presses Start, and Stop at the first pump (counted from 1 for this press)
  // where stopAt holds. A press still busy after 10 s fails the test: its
  // solvers are killed, which ends any wait for them; a press that even that
  // does not end ends the test program.
  void press(std::function<bool(int pump)> stopAt = nullptr);

  void expectOutcome(const Outcome& expected) const;
  // Nothing changed since the snapshot but what a run may change.
  void expectOnlyRunFilesChanged(const Snapshot& before) const;
  bool solverRan() const { return fs::exists(folder / "standin_calls.log"); }
  std::string outputFirstLine() const;
};

}  // namespace kalmor::faults
