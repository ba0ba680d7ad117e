// A front-end without widgets: kalmor-check runs the window on it, and the
// tests drive it. It records what the window does, runs scripted user events
// when the window pumps events, ticks the timer on request and takes its
// clock from its user.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "testbench/controls.h"
#include "testbench/frm_kalmor_checker.h"
#include "testbench/toolkit.h"

namespace kalmor {

// Thrown where a real front-end would end the process.
class ProgramEnded : public std::runtime_error {
 public:
  ProgramEnded() : std::runtime_error("program ended") {}
};

class HeadlessToolkit : public Toolkit {
 public:
  explicit HeadlessToolkit(Clock::time_point start = Clock::time_point{} + std::chrono::hours(24 * 365 * 50));

  // The window this front-end shows; its events go there.
  void attach(frmKalmorChecker& window);

  // --- Toolkit
  void doEvents() override;
  void refresh(Label& label) override;
  void setFocus(Control& control) override;
  void announce(Label& label) override { announced_.push_back(label.caption()); }
  [[noreturn]] void endProgram() override;
  Clock::time_point now() override { return now_; }

  // --- what the test controls
  void setNow(Clock::time_point time) { now_ = time; }
  void advance(Clock::duration by) { now_ += by; }
  // Runs action during the next pump that has not run one yet.
  void atNextPump(std::function<void()> action);
  // Runs action during the pump numbered pump (counting from 1 over the toolkit's life).
  void atPump(int pump, std::function<void()> action);
  // Runs on every pump after the scripted actions, with the pump's number.
  void onEveryPump(std::function<void(int)> action) { everyPump_ = std::move(action); }
  // Fires Timer1 as the toolkit would; false when the timer is disabled.
  bool tick();

  // --- user actions, delivered like a real front-end delivers them
  void click(Button& button);
  void choose(ComboBox& list, int index);
  void closeBox();

  // --- what the window did
  int pumps() const { return pumps_; }
  bool ended() const { return ended_; }
  const Control* focused() const { return focused_; }
  // Captions of labels at the moment of each immediate repaint.
  const std::vector<std::string>& repaints() const { return repaints_; }
  // Captions of labels at the moment they were announced to screen readers.
  const std::vector<std::string>& announced() const { return announced_; }

 private:
  frmKalmorChecker* window_ = nullptr;
  Clock::time_point now_;
  int pumps_ = 0;
  bool ended_ = false;
  const Control* focused_ = nullptr;
  std::deque<std::function<void()>> nextPump_;
  std::multimap<int, std::function<void()>> atPump_;
  std::function<void(int)> everyPump_;
  std::vector<std::string> repaints_;
  std::vector<std::string> announced_;
};

}  // namespace kalmor
