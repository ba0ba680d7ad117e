#include "ui/headless/headless_toolkit.h"

#include <utility>

namespace kalmor {

HeadlessToolkit::HeadlessToolkit(Clock::time_point start) : now_(start) {}

void HeadlessToolkit::attach(frmKalmorChecker& window) { window_ = &window; }

void HeadlessToolkit::doEvents() {
  const int pump = ++pumps_;
  std::deque<std::function<void()>> due;
  due.swap(nextPump_);
  auto [first, last] = atPump_.equal_range(pump);
  for (auto it = first; it != last; ++it) due.push_back(std::move(it->second));
  atPump_.erase(pump);
  for (auto& action : due) action();
  if (everyPump_) everyPump_(pump);
}

void HeadlessToolkit::refresh(Label& label) { repaints_.push_back(label.caption()); }

void HeadlessToolkit::setFocus(Control& control) { focused_ = &control; }

void HeadlessToolkit::endProgram() {
  ended_ = true;
  throw ProgramEnded();
}

void HeadlessToolkit::atNextPump(std::function<void()> action) {
  nextPump_.push_back(std::move(action));
}

void HeadlessToolkit::atPump(int pump, std::function<void()> action) {
  atPump_.emplace(pump, std::move(action));
}

bool HeadlessToolkit::tick() {
  if (window_ == nullptr || !window_->Timer1.enabled()) return false;
  window_->Timer1_Timer();
  return true;
}

void HeadlessToolkit::click(Button& button) {
  if (button.enabled() && button.onClick) button.onClick();
}

void HeadlessToolkit::choose(ComboBox& list, int index) { list.setListIndex(index); }

void HeadlessToolkit::closeBox() {
  bool cancel = false;
  window_->Form_QueryUnload(cancel, 0);
}

}  // namespace kalmor
