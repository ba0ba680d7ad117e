// What the FLTK front-end's tests see and do: the real widgets behind the
// window's controls, what a user sees of them, and input delivered the way a
// user's input arrives.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <string>

#include "testbench/controls.h"

class Fl_Widget;
class Fl_Double_Window;

namespace kalmor {

class FltkToolkit;

class WidgetProbe {
 public:
  explicit WidgetProbe(FltkToolkit& toolkit) : toolkit_(toolkit) {}
  ~WidgetProbe();
  WidgetProbe(const WidgetProbe&) = delete;
  WidgetProbe& operator=(const WidgetProbe&) = delete;

  // --- the real widgets
  Fl_Double_Window& window() const;
  Fl_Widget& widget(const Control& control) const;
  bool mapped() const;  // on screen
  // The size limits the window manager was given: min and max size equal, and the window's.
  bool fixedSize() const;
  // The window manager's icon property holds an image of this size first.
  bool hasIconOfSize(int w, int h) const;
  double dpi() const;   // the screen's, as the front-end lays out for it

  // --- what a user sees of a control
  std::string text(const Control& control) const;  // label, caption or button text
  bool hasFocus(const Control& control) const;
  Picture picture(const Control& control) const;  // None when it shows none of ours
  // Text and background colour as 0xRRGGBB.
  std::uint32_t textColour(const Control& control) const;
  std::uint32_t backColour(const Control& control) const;

  // --- user input, delivered through FLTK's event dispatch
  // The list's value set as a user's pick sets it, and its callback run.
  void pick(const Control& list, int index);
  // A left click pressed and released over the middle of the widget.
  void click(const Control& control);
  // A key (FL_Tab, FL_Escape, a letter) with the modifiers in state (FL_SHIFT, FL_ALT).
  void key(int keySym, int state = 0);
  // The window manager's close request.
  void closeBox();

  // --- time
  // Runs action from the event loop once delay has passed, also inside a
  // handler that pumps events (a test run waiting for its solver).
  void after(std::chrono::milliseconds delay, std::function<void()> action);
  // Serves events until done() or the time is up; false on time-out.
  bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

 private:
  FltkToolkit& toolkit_;
  std::list<std::function<void()>> delayed_;  // what after() runs; its timeouts point here
};

}  // namespace kalmor
