// What the FLTK front-end's tests see and do: it reads the real widgets
// behind the window's controls and acts on them the way a user's input
// arrives, without a test having to know FLTK.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <string>

#include "testbench/controls.h"
#include "ui/pixel_layout.h"

class Fl_Widget;
class Fl_Double_Window;

namespace kalmor {

class FltkToolkit;

class WidgetProbe {
 public:
  explicit WidgetProbe(FltkToolkit& toolkit);
  ~WidgetProbe();
  WidgetProbe(const WidgetProbe&) = delete;
  WidgetProbe& operator=(const WidgetProbe&) = delete;

  // --- the window
  bool mapped() const;  // on screen
  std::string title() const;
  PixelRect windowArea() const;  // screen position and client size
  bool centredOnTheScreen() const;
  // The size limits the window manager was given: min and max size equal.
  bool fixedSize() const;
  // The window manager's icon property holds an image of this size.
  bool hasIconOfSize(int w, int h) const;
  double dpi() const;  // the screen's, as the front-end lays out for it

  // --- one control's widget
  std::string text(const Control& control) const;  // label, caption or button text
  PixelRect area(const Control& control) const;    // in the window's client area
  int selected(const Control& list) const;
  bool shown(const Control& control) const;        // itself and its containers
  bool active(const Control& control) const;
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
  void pressEscape();
  void pressTab(bool shift = false);
  void pressAltLetter(char letter);
  // The window manager's close request.
  void closeBox();

  // --- time
  // Runs action from the event loop once delay has passed, also inside a
  // handler that pumps events (a test run waiting for its solver).
  void after(std::chrono::milliseconds delay, std::function<void()> action);
  // Serves events until done() or the time is up; false on time-out.
  bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

 private:
  struct Delayed {
    WidgetProbe* probe;
    std::function<void()> action;
  };
  static void runDelayed(void* delayed);
  void key(int keySym, int state, const char* text);
  Fl_Double_Window& window() const;
  Fl_Widget& widget(const Control& control) const;

  FltkToolkit& toolkit_;
  std::list<Delayed> pending_;  // actions waiting for after(); the timeouts point here
};

}  // namespace kalmor
