// What the window needs from its windowing toolkit. Front-ends implement it.
#pragma once

#include <chrono>

namespace kalmor {

class Control;
class Label;

using Clock = std::chrono::system_clock;

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // Processes every pending window event, then returns.
  virtual void doEvents() = 0;
  // Repaints the label now, without waiting for the event loop.
  virtual void refresh(Label& label) = 0;
  virtual void setFocus(Control& control) = 0;
  // A label whose text a screen reader should speak now, wherever the focus
  // is: what a press of Start ended with. Front-ends without such a channel
  // ignore it.
  virtual void announce(Label& /*label*/) {}
  // Unloads the windows and ends the program; does not return.
  [[noreturn]] virtual void endProgram() = 0;
  virtual Clock::time_point now() = 0;
};

}  // namespace kalmor
