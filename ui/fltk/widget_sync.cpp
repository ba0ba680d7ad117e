// Copying control properties onto widgets, one kind of control at a time.
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_RGB_Image.H>

#include <vector>

#include "ui/fltk/dialog_font.h"
#include "ui/fltk/display_text.h"
#include "ui/fltk/item_choice.h"
#include "ui/fltk/picture_images.h"
#include "ui/fltk/widget_tree.h"

namespace kalmor {
namespace {

Fl_Color ToFlColor(Colour colour) {
  switch (colour.kind) {
    case Colour::Kind::ButtonText:
      return FL_FOREGROUND_COLOR;
    case Colour::Kind::ButtonFace:
      return FL_BACKGROUND_COLOR;
    case Colour::Kind::Rgb:
      break;
  }
  return fl_rgb_color(colour.r, colour.g, colour.b);
}

void SetLabel(Fl_Widget& widget, const std::string& text) {
  if (widget.label() != nullptr && text == widget.label()) return;
  widget.copy_label(text.c_str());
  widget.redraw();
}

void SyncForm(const Form& form, Fl_Double_Window& window, int pictureSize) {
  // Fl_Window's own copy_label, not Fl_Widget's: only it retitles a shown window.
  if (window.label() == nullptr || form.caption() != window.label()) {
    window.copy_label(form.caption().c_str());
  }
  // Every drawn size, so the desktop need not enlarge one; the title bar's first.
  std::vector<const Fl_RGB_Image*> icons{PictureImage(form.icon(), pictureSize)};
  for (const int size : kDrawnSizes) {
    if (size != pictureSize) icons.push_back(PictureImage(form.icon(), size));
  }
  window.icons(icons.data(), icons.front() == nullptr ? 0 : static_cast<int>(icons.size()));
}

void SyncLabel(const Label& label, Fl_Widget& box) {
  SetLabel(box, WithLineFeeds(label.caption()));
  box.labelcolor(ToFlColor(label.foreColour()));
  box.color(ToFlColor(label.backColour()));
  box.labelfont(DialogFont(label.bold()));
  box.align(label.autoSize() ? FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT
                             : FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT | FL_ALIGN_WRAP | FL_ALIGN_CLIP);
  box.copy_tooltip(label.toolTip().empty() ? nullptr : label.toolTip().c_str());
  box.redraw();
}

void SyncButton(const Button& button, Fl_Widget& widget, int pictureSize) {
  SetLabel(widget, button.caption());  // FLTK reads "&" as the access key, as we do
  widget.image(ButtonPictureImage(button.picture(), pictureSize));
}

void SyncImage(const Image& image, Fl_Widget& box, int pictureSize) {
  box.image(PictureImage(image.picture(), pictureSize));
  box.redraw();
}

}  // namespace

void WidgetTree::sync(Control& control) {
  Fl_Widget* widget = this->widget(control);
  if (widget == nullptr) return;
  switch (control.kind()) {
    case ControlKind::Form:
      SyncForm(static_cast<Form&>(control), *window_, pictureSize_);
      break;
    case ControlKind::Frame:
      SetLabel(*widget, static_cast<Frame&>(control).caption());
      break;
    case ControlKind::Label:
      SyncLabel(static_cast<Label&>(control), *widget);
      break;
    case ControlKind::ComboBox: {
      const auto& list = static_cast<ComboBox&>(control);
      static_cast<ItemChoice*>(widget)->setItems(list.items(), list.listIndex());
      break;
    }
    case ControlKind::Button:
      SyncButton(static_cast<Button&>(control), *widget, pictureSize_);
      break;
    case ControlKind::Image:
      SyncImage(static_cast<Image&>(control), *widget, pictureSize_);
      break;
    case ControlKind::TextBox:
      static_cast<Fl_Multiline_Output*>(widget)->value(static_cast<TextBox&>(control).text().c_str());
      break;
    case ControlKind::Timer:
      break;
  }
  if (control.kind() != ControlKind::Form) {
    if (control.visible() != (widget->visible() != 0)) {
      if (control.visible()) widget->show(); else widget->hide();
    }
    if (control.enabled()) widget->activate(); else widget->deactivate();
  }
  place(control, *widget);
}

}  // namespace kalmor
