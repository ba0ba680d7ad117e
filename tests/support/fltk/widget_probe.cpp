#include "tests/support/fltk/widget_probe.h"

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Widget.H>

#include <stdexcept>

#include "ui/fltk/fltk_toolkit.h"
#include "ui/fltk/item_choice.h"
#include "ui/fltk/picture_images.h"

namespace kalmor {
namespace {

std::uint32_t Rgb(Fl_Color colour) {
  unsigned char r = 0;
  unsigned char g = 0;
  unsigned char b = 0;
  Fl::get_color(colour, r, g, b);
  return (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

void RunDelayed(void* action) { (*static_cast<std::function<void()>*>(action))(); }

}  // namespace

WidgetProbe::~WidgetProbe() { Fl::remove_timeout(RunDelayed); }

Fl_Double_Window& WidgetProbe::window() const {
  if (toolkit_.widgets() == nullptr) throw std::logic_error("the widgets are not built yet");
  return toolkit_.widgets()->window();
}

Fl_Widget& WidgetProbe::widget(const Control& control) const {
  window();
  Fl_Widget* widget = toolkit_.widgets()->widget(control);
  if (widget == nullptr) throw std::invalid_argument("no widget for " + control.name());
  return *widget;
}

bool WidgetProbe::mapped() const { return window().shown() && window().visible(); }

double WidgetProbe::dpi() const { return toolkit_.widgets()->dpi(); }

std::string WidgetProbe::text(const Control& control) const {
  const char* label = widget(control).label();
  return label == nullptr ? std::string() : label;
}

bool WidgetProbe::hasFocus(const Control& control) const { return Fl::focus() == &widget(control); }

Picture WidgetProbe::picture(const Control& control) const {
  const Fl_Image* image = widget(control).image();
  const int size = toolkit_.widgets()->pictureSize();
  for (Picture p : {Picture::Information, Picture::Error, Picture::Warning, Picture::Key}) {
    if (image == PictureImage(p, size) || image == ButtonPictureImage(p, size)) return p;
  }
  return Picture::None;
}

std::uint32_t WidgetProbe::textColour(const Control& control) const { return Rgb(widget(control).labelcolor()); }

std::uint32_t WidgetProbe::backColour(const Control& control) const { return Rgb(widget(control).color()); }

void WidgetProbe::pick(const Control& list, int index) {
  auto& choice = dynamic_cast<ItemChoice&>(widget(list));
  // What Fl_Choice does when the user releases the mouse over an item.
  choice.picked(choice.menu() + index);
}

void WidgetProbe::click(const Control& control) {
  const Fl_Widget& target = widget(control);
  Fl::e_x = target.x() + target.w() / 2;
  Fl::e_y = target.y() + target.h() / 2;
  Fl::e_x_root = window().x() + Fl::e_x;
  Fl::e_y_root = window().y() + Fl::e_y;
  Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
  Fl::e_state = FL_BUTTON1;
  Fl::e_clicks = 0;
  Fl::e_is_click = 1;
  Fl::handle(FL_PUSH, &window());
  Fl::e_state = 0;
  Fl::handle(FL_RELEASE, &window());
}

void WidgetProbe::key(int keySym, int state) {
  // FL_Escape and FL_Tab carry their ASCII code in the low bits, as a letter does.
  static char text[2];
  text[0] = static_cast<char>(keySym & 0x7F);
  Fl::e_keysym = keySym;
  Fl::e_original_keysym = keySym;
  Fl::e_state = state;
  Fl::e_text = text;
  Fl::e_length = 1;
  Fl::handle(FL_KEYBOARD, &window());
  Fl::e_state = 0;
}

void WidgetProbe::closeBox() { Fl::handle(FL_CLOSE, &window()); }

void WidgetProbe::after(std::chrono::milliseconds delay, std::function<void()> action) {
  delayed_.push_back(std::move(action));
  Fl::add_timeout(std::chrono::duration<double>(delay).count(), RunDelayed, &delayed_.back());
}

bool WidgetProbe::pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    Fl::wait(0.01);
  }
  return true;
}

}  // namespace kalmor
