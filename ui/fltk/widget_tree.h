// The real widgets of a window's controls: built once from the controls, then
// kept in step with them one control at a time.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "testbench/controls.h"

class Fl_Double_Window;
class Fl_Group;
class Fl_Widget;

namespace kalmor {

class WidgetTree {
 public:
  // controls: containers before their contents, the form first.
  WidgetTree(const std::vector<Control*>& controls, const std::vector<Control*>& focusOrder,
             double dpi);
  ~WidgetTree();
  WidgetTree(const WidgetTree&) = delete;
  WidgetTree& operator=(const WidgetTree&) = delete;

  Fl_Double_Window& window() { return *window_; }
  // Null for controls without a widget of their own (timers).
  Fl_Widget* widget(const Control& control) const;
  double dpi() const { return dpi_; }
  int fontSize() const { return fontSize_; }
  // The drawn size the pictures are shown at, nearest to 240 twips.
  int pictureSize() const { return pictureSize_; }

  // Copies the control's properties onto its widget.
  void sync(Control& control);

 private:
  void addChildren(Control& container, Fl_Group& group);
  Fl_Widget* create(Control& control);
  void place(Control& control, Fl_Widget& widget);
  void placeContents(const Control& container);

  std::vector<Control*> controls_;
  std::vector<Control*> focusOrder_;
  double dpi_;
  int fontSize_;
  int pictureSize_;
  std::unique_ptr<Fl_Double_Window> window_;
  std::map<const Control*, Fl_Widget*> widgets_;
};

}  // namespace kalmor
