// A checker folder with the real stand-in solver (checker_folder.h) and the
// checks every fault case shares: the run is bounded, leaves no process
// behind, and changes no file but TMP_INPUT.INP and KM.OUT (plus the
// stand-in's own logs, which the solver writes).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/faults/checker_folder.h"
#include "tests/support/eventually.h"

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
// and the content of small files; directory times are left out, since their
// entries are compared one by one.
using Snapshot = std::map<std::string, std::string>;
Snapshot TakeSnapshot(const fs::path& folder);

std::string Slurp(const fs::path& path);
void Spit(const fs::path& path, const std::string& bytes);
// Sets or clears the immutable attribute; false where the file system or our
// privileges do not allow it.
bool SetImmutable(const fs::path& path, bool on);

class FaultRun : public ::testing::Test, public CheckerFolder {
 protected:
  FaultRun() : CheckerFolder(KALMOR_STANDIN_SOLVER, "faults") {}
  void TearDown() override;

  // Presses Start. A run still waiting after bound is stopped and reported
  // as hung. Returns how long the press took.
  std::chrono::steady_clock::duration press(
      std::chrono::steady_clock::duration bound = std::chrono::seconds(30));
  // Runs action at the k-th event pump after now.
  void afterPumps(int k, std::function<void()> action);
  // Presses Stop at the first event pump at which ready() holds.
  void stopWhen(std::function<bool()> ready);

  void expectOutcome(const Outcome& expected) const;
  // Nothing changed since the snapshot but what a run may change.
  void expectOnlyRunFilesChanged(const Snapshot& before) const;
  // No process of this test alive, no zombie child; kills what it finds.
  void expectNothingLeft();
  static bool Eventually(std::chrono::steady_clock::duration bound,
                         const std::function<bool()>& holds) {
    return testing::Eventually(bound, holds);
  }
  // False where the file system or our privileges refuse the attribute.
  bool markImmutable(const fs::path& path);

  bool hung_ = false;

 private:
  std::vector<fs::path> immutable_;
};

}  // namespace kalmor::faults
