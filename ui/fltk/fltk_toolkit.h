// The checker window's toolkit on FLTK: its real widgets, kept in step with
// the controls; the event pump, immediate repaint, focus, the window's timer,
// the close box, and ending the program.
#pragma once

#include <functional>
#include <memory>

#include "testbench/controls.h"
#include "testbench/frm_kalmor_checker.h"
#include "testbench/toolkit.h"
#include "ui/fltk/widget_tree.h"

class Fl_Widget;

namespace kalmor {

class FltkToolkit : public Toolkit, public ControlObserver {
 public:
  // endProcess replaces ending the process (tests throw instead); when it
  // returns, the process ends anyway.
  explicit FltkToolkit(std::function<void()> endProcess = {});
  ~FltkToolkit() override;

  // The window whose controls this toolkit shows and whose events it serves.
  void attach(frmKalmorChecker& window);
  // Creates the widgets from the controls as they are now; start-up has run.
  void build();
  // Shows the window centred on the screen, the focus on its first control.
  void show();
  // Null before build().
  WidgetTree* widgets() { return tree_.get(); }

  void doEvents() override;
  void refresh(Label& label) override;
  void setFocus(Control& control) override;
  [[noreturn]] void endProgram() override;
  Clock::time_point now() override;

 private:
  void controlChanged(Control& control) override;
  void syncTimer();
  static void onTimer(void* self);
  static void onCloseRequest(Fl_Widget* window, void* self);

  frmKalmorChecker* window_ = nullptr;
  std::unique_ptr<WidgetTree> tree_;
  std::function<void()> endProcess_;
};

}  // namespace kalmor
