#include "ui/fltk/fltk_toolkit.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Tooltip.H>
#include <FL/x.H>

#include <cstdlib>
#include <utility>

#include "ui/fltk/desktop_dpi.h"
#include "ui/fltk/dialog_font.h"
#include "ui/pixel_layout.h"

namespace kalmor {

FltkToolkit::FltkToolkit(std::function<void()> endProcess) : endProcess_(std::move(endProcess)) {}

FltkToolkit::~FltkToolkit() { Fl::remove_timeout(onTimer, this); }

void FltkToolkit::attach(frmKalmorChecker& window) {
  window_ = &window;
  window.setObserver(this);
}

void FltkToolkit::build() {
  fl_open_display();
  tree_ = std::make_unique<WidgetTree>(window_->controls(), window_->focusOrder(), DesktopDpi());
  Fl_Tooltip::size(tree_->fontSize());
  Fl_Tooltip::font(DialogFont());
  Fl_Double_Window& window = tree_->window();
  window.xclass("KalmorChecker");
  window.callback(onCloseRequest, this);
  syncTimer();
}

void FltkToolkit::show() {
  Fl_Double_Window& window = tree_->window();
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  Fl::screen_work_area(x, y, w, h);
  const PixelRect at = CentredIn(PixelRect{x, y, w, h}, window.w(), window.h());
  window.position(at.x, at.y);
  window.show();
  if (Control* first = window_->initialFocus()) setFocus(*first);
}

void FltkToolkit::doEvents() { Fl::check(); }

void FltkToolkit::refresh(Label& label) {
  if (tree_ == nullptr) return;
  if (Fl_Widget* widget = tree_->widget(label)) widget->redraw();
  Fl::flush();
}

void FltkToolkit::setFocus(Control& control) {
  if (tree_ == nullptr) return;
  if (Fl_Widget* widget = tree_->widget(control)) widget->take_focus();
}

void FltkToolkit::endProgram() {
  Fl::remove_timeout(onTimer, this);
  if (tree_ != nullptr) tree_->window().hide();
  Fl::flush();
  if (endProcess_) endProcess_();
  std::exit(0);
}

Clock::time_point FltkToolkit::now() { return Clock::now(); }

void FltkToolkit::controlChanged(Control& control) {
  if (tree_ == nullptr) return;  // start-up runs before the widgets exist
  if (&control == &window_->Timer1) {
    syncTimer();
    return;
  }
  tree_->sync(control);
}

void FltkToolkit::syncTimer() {
  Fl::remove_timeout(onTimer, this);
  if (window_->Timer1.enabled()) Fl::add_timeout(window_->Timer1.interval() / 1000.0, onTimer, this);
}

void FltkToolkit::onTimer(void* self) {
  auto& toolkit = *static_cast<FltkToolkit*>(self);
  // Rescheduled first: the handler may disable the timer, which removes it.
  Fl::repeat_timeout(toolkit.window_->Timer1.interval() / 1000.0, onTimer, self);
  toolkit.window_->Timer1_Timer();
}

void FltkToolkit::onCloseRequest(Fl_Widget*, void* self) {
  // FLTK also calls the window's callback for Escape; the window is not closed by Escape.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  auto& toolkit = *static_cast<FltkToolkit*>(self);
  bool cancel = false;
  toolkit.window_->Form_QueryUnload(cancel, 0);
}

}  // namespace kalmor
