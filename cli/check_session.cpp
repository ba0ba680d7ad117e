#include "cli/check_session.h"

#include <algorithm>

namespace kalmor {
namespace {

// The list indexes a choice stands for; empty when it names nothing offered.
std::vector<int> Indexes(const ComboBox& list, const std::optional<std::string>& choice) {
  if (!choice) {
    if (list.listIndex() < 0) return {};
    return {list.listIndex()};
  }
  std::vector<int> indexes;
  for (int i = 0; i < list.listCount(); ++i) {
    if (*choice == kAllItems || list.items()[static_cast<std::size_t>(i)] == *choice) {
      indexes.push_back(i);
    }
  }
  return indexes;
}

std::string OneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

}  // namespace

CheckSession::CheckSession(Platform& platform)
    : toolkit_(Clock::now()), window_(platform, toolkit_) {
  toolkit_.attach(window_);
  toolkit_.onEveryPump([this](int) { onPump(); });
}

bool CheckSession::prepare(const CheckOptions& options, std::string& error) {
  window_.Form_Load();
  if (options.language) toolkit_.choose(window_.lstLanguage, *options.language);
  if (options.timeoutSeconds) timeout_ = std::chrono::duration<double>(*options.timeoutSeconds);

  if (window_.lstTask.listCount() == 0) {
    error = "no test task (test_#3.INP, test_#4.INP, test_s#7.INP) in the folder";
    return false;
  }
  tasks_ = Indexes(window_.lstTask, options.task);
  builds_ = Indexes(window_.lstKalmorBitVersion, options.build);
  modes_ = Indexes(window_.lstKalmorCallingMode, options.mode);
  if (tasks_.empty()) {
    error = options.task ? "test task " + *options.task + " is not in the folder"
                         : "no test task is preselected: choose one with --task";
    return false;
  }
  if (builds_.empty()) {
    error = "the solver build " + options.build.value_or("") + " is not offered on this system";
    return false;
  }
  return true;
}

std::vector<RunResult> CheckSession::runAll(const std::function<void(const RunResult&)>& done) {
  std::vector<RunResult> results;
  for (const int task : tasks_) {
    toolkit_.choose(window_.lstTask, task);
    for (const int build : builds_) {
      toolkit_.choose(window_.lstKalmorBitVersion, build);
      for (const int mode : modes_) {
        toolkit_.choose(window_.lstKalmorCallingMode, mode);
        results.push_back(runOne());
        if (done) done(results.back());
        if (results.back().outcome == RunOutcome::Refused) return results;
      }
    }
  }
  return results;
}

void CheckSession::onPump() {
  toolkit_.setNow(Clock::now());
  if (!timeout_ || stopPressed_) return;
  if (std::chrono::steady_clock::now() - runStart_ < *timeout_) return;
  // As a user would: a second press of the button during a run is Stop.
  stopPressed_ = true;
  toolkit_.click(window_.cmdOK);
}

RunResult CheckSession::runOne() {
  RunResult result;
  result.task = window_.lstTask.text();
  result.build = window_.lstKalmorBitVersion.text();
  result.mode = window_.lstKalmorCallingMode.listIndex() + 1;

  stopPressed_ = false;
  toolkit_.setNow(Clock::now());
  runStart_ = std::chrono::steady_clock::now();
  toolkit_.click(window_.cmdOK);
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - runStart_).count();

  const PressResult& press = window_.LastPress;
  // A press that ran nothing and said nothing is no pass.
  result.outcome = press.outcome == RunOutcome::None ? RunOutcome::CouldNotStart : press.outcome;
  result.detail = OneLine(press.detail);
  result.exit = press.exit;
  return result;
}

}  // namespace kalmor
