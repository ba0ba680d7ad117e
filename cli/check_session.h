// Runs the checker window without a window: the lists are set and Start is
// pressed through the headless front-end, outcomes are read from the window.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/check_options.h"
#include "platform/platform.h"
#include "testbench/frm_kalmor_checker.h"
#include "ui/headless/headless_toolkit.h"

namespace kalmor {

struct RunResult {
  std::string task;
  std::string build;
  int mode = 0;
  RunOutcome outcome = RunOutcome::None;
  double seconds = 0;
  // The first line of KM.OUT for a pass, otherwise why not.
  std::string detail;
  ProcessExit exit;
};

class CheckSession {
 public:
  explicit CheckSession(Platform& platform);

  // The window's start-up, then the language and the choices; false with the
  // reason when they name nothing that can run.
  bool prepare(const CheckOptions& options, std::string& error);
  // Every chosen combination in the window's list order; done sees each run as
  // it ends. A refused run ends the matrix: the folder is not fit for a check.
  std::vector<RunResult> runAll(const std::function<void(const RunResult&)>& done);

  int language() const { return window_.lstLanguage.listIndex(); }
  const frmKalmorChecker& window() const { return window_; }

 private:
  RunResult runOne();
  void onPump();

  HeadlessToolkit toolkit_;
  frmKalmorChecker window_;
  std::vector<int> tasks_;
  std::vector<int> builds_;
  std::vector<int> modes_;
  std::optional<std::chrono::duration<double>> timeout_;
  std::chrono::steady_clock::time_point runStart_{};
  bool stopPressed_ = false;
};

}  // namespace kalmor
