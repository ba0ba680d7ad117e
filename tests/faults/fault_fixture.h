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
#include <vector>

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

// Every entry below a folder: type, mode, size, inode and modification time,
// and the content of small files.
using Snapshot = std::map<std::string, std::string>;
Snapshot TakeSnapshot(const fs::path& folder);

std::string Slurp(const fs::path& path);
void Spit(const fs::path& path, const std::string& bytes);

class FaultRun : public ::testing::Test, public CheckerFolder {
 public:
  // False where the file system or our privileges refuse the immutable attribute.
  bool markImmutable(const fs::path& path);

 protected:
  FaultRun() : CheckerFolder(KALMOR_STANDIN_SOLVER, "faults") {}
  void SetUp() override;
  void TearDown() override;

  // Presses Start, and Stop at the first pump (counted from 1 for this press)
  // where stopAt holds. A press still
  // busy after bound fails the test: its solvers are killed, which ends any
  // wait for them; a press that even that does not end ends the test program.
  void press(std::function<bool(int pump)> stopAt = nullptr,
             std::chrono::seconds bound = std::chrono::seconds(10));

  void expectOutcome(const Outcome& expected) const;
  // Nothing changed since the snapshot but what a run may change.
  void expectOnlyRunFilesChanged(const Snapshot& before) const;
  bool solverRan() const { return fs::exists(folder / "standin_calls.log"); }
  std::string outputFirstLine() const;

 private:
  std::vector<fs::path> immutable_;
};

inline constexpr const char* kImmutableSkip =
    "the immutable attribute is refused here (file system or privileges); as root, "
    "permission bits do not stop writes, so a read-only file cannot be made";

}  // namespace kalmor::faults
