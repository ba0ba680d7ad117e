#include "ui/fltk/widget_tree.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <stdexcept>

#include "resources/pictures.h"
#include "ui/fltk/caption_frame.h"
#include "ui/fltk/dialog_font.h"
#include "ui/fltk/item_choice.h"
#include "ui/label_fit.h"
#include "ui/pixel_layout.h"
#include "ui/fltk/tab_order.h"
#include "ui/fltk/text_label.h"

namespace kalmor {
namespace {

// The system dialog font of the windows this layout was drawn for.
constexpr double kFontPoints = 8.0;
// The room the layout gives a picture: 16 px at 96 dpi.
constexpr int kPictureTwips = 240;

void OnButton(Fl_Widget*, void* data) {
  Button& button = *static_cast<Button*>(data);
  if (button.enabled() && button.onClick) button.onClick();
}

void OnChoice(Fl_Widget* widget, void* data) {
  static_cast<ComboBox*>(data)->setListIndex(static_cast<Fl_Choice*>(widget)->value());
}

Control& FormOf(const std::vector<Control*>& controls) {
  for (Control* c : controls) {
    if (c->kind() == ControlKind::Form) return *c;
  }
  throw std::invalid_argument("no form among the controls");
}

}  // namespace

WidgetTree::WidgetTree(const std::vector<Control*>& controls,
                       const std::vector<Control*>& focusOrder, double dpi)
    : controls_(controls),
      focusOrder_(focusOrder),
      dpi_(dpi),
      fontSize_(PointsToPixels(kFontPoints, dpi)),
      pictureSize_(NearestDrawnSize(TwipsToPixels(kPictureTwips, dpi))) {
  Control& form = FormOf(controls_);
  const PixelRect client = ClientPixelRect(form, dpi_);
  window_ = std::make_unique<Fl_Double_Window>(client.w, client.h);
  window_->end();  // children are added explicitly, in tab order
  window_->resizable(nullptr);
  widgets_[&form] = window_.get();
  addChildren(form, *window_);
  for (Control* c : controls_) sync(*c);
}

WidgetTree::~WidgetTree() = default;

Fl_Widget* WidgetTree::widget(const Control& control) const {
  const auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second;
}

void WidgetTree::addChildren(Control& container, Fl_Group& group) {
  for (Control* child : ChildrenInTabOrder(controls_, focusOrder_, container)) {
    Fl_Widget* widget = create(*child);
    group.add(widget);
    widgets_[child] = widget;
    if (Fl_Group* inner = widget->as_group()) addChildren(*child, *inner);
  }
}

Fl_Widget* WidgetTree::create(Control& control) {
  Fl_Widget* widget = nullptr;
  switch (control.kind()) {
    case ControlKind::Frame:
      widget = new CaptionFrame(0, 0, 1, 1, static_cast<Frame&>(control).bordered());
      break;
    case ControlKind::Label:
      widget = new TextLabel(0, 0, 1, 1);
      break;
    case ControlKind::ComboBox: {
      auto* choice = new ItemChoice(0, 0, 1, 1);
      choice->textsize(fontSize_);
      choice->textfont(DialogFont());
      choice->callback(OnChoice, &control);
      widget = choice;
      break;
    }
    case ControlKind::Button:
      widget = new Fl_Button(0, 0, 1, 1);
      widget->align(FL_ALIGN_CENTER | FL_ALIGN_IMAGE_NEXT_TO_TEXT | FL_ALIGN_CLIP);
      widget->callback(OnButton, &control);
      break;
    case ControlKind::Image:
      widget = new Fl_Box(0, 0, 1, 1);
      widget->box(FL_FLAT_BOX);
      break;
    case ControlKind::TextBox:
      widget = new Fl_Multiline_Output(0, 0, 1, 1);
      break;
    case ControlKind::Form:
    case ControlKind::Timer:
      throw std::invalid_argument("no child widget for " + control.name());
  }
  widget->labelsize(fontSize_);
  widget->labelfont(DialogFont());
  return widget;
}

void WidgetTree::place(Control& control, Fl_Widget& widget) {
  PixelRect r = ClientPixelRect(control, dpi_);
  if (control.kind() == ControlKind::Form) {
    window_->size(r.w, r.h);
    window_->size_range(r.w, r.h, r.w, r.h);  // fixed size; window managers drop maximise
    return;
  }
  if (control.kind() == ControlKind::Label && static_cast<Label&>(control).autoSize()) {
    const int room = LabelRoom(static_cast<Label&>(control), controls_, dpi_);
    const auto measure = [&widget](int size) {
      fl_font(widget.labelfont(), size);
      int w = 0;
      int h = 0;
      fl_measure(widget.label(), w, h, 0);
      return PixelRect{0, 0, w, h};
    };
    const int size = FittingFontSize(fontSize_, SmallestFontSize(fontSize_), room,
                                     [&measure](int s) { return measure(s).w; });
    if (size != widget.labelsize()) {
      widget.labelsize(size);
      widget.redraw();
    }
    const PixelRect text = measure(size);
    r.w = std::min(text.w, room);
    r.h = text.h;
  } else if (control.kind() == ControlKind::Label) {
    fl_font(widget.labelfont(), widget.labelsize());
    r.h = std::max(r.h, LabelLines(static_cast<Label&>(control)) * fl_height());
  }
  if (r == PixelRect{widget.x(), widget.y(), widget.w(), widget.h()}) return;
  // The old place shows whatever is behind it, so the container paints it again.
  if (widget.parent() != nullptr) widget.parent()->redraw();
  widget.resize(r.x, r.y, r.w, r.h);
  if (control.kind() == ControlKind::Frame) placeContents(control);
}

void WidgetTree::placeContents(const Control& container) {
  for (Control* c : controls_) {
    if (c->container() != &container) continue;
    if (Fl_Widget* w = widget(*c)) place(*c, *w);
  }
}

}  // namespace kalmor
