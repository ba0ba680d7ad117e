#include "testbench/controls.h"

#include <stdexcept>
#include <utility>

namespace kalmor {

Control::Control(ControlKind kind, std::string name, Control* container, Rect rect)
    : kind_(kind), name_(std::move(name)), container_(container), rect_(rect) {}

void Control::changed() {
  if (observer_ != nullptr) observer_->controlChanged(*this);
}

void Control::setRect(const Rect& rect) {
  if (rect_ == rect) return;
  rect_ = rect;
  changed();
}

void Control::setLeft(int left) {
  Rect r = rect_;
  r.left = left;
  setRect(r);
}

void Control::setVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  changed();
}

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  changed();
}

Form::Form(std::string name, Rect clientArea, std::string caption, Picture icon)
    : Control(ControlKind::Form, std::move(name), nullptr, clientArea),
      caption_(std::move(caption)),
      icon_(icon) {}

void Form::setCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  changed();
}

Frame::Frame(std::string name, Control* container, Rect rect, std::string caption, bool bordered)
    : Control(ControlKind::Frame, std::move(name), container, rect),
      caption_(std::move(caption)),
      bordered_(bordered) {}

void Frame::setCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  changed();
}

Label::Label(std::string name, Control* container, Rect rect, std::string caption, bool autoSize)
    : Control(ControlKind::Label, std::move(name), container, rect),
      caption_(std::move(caption)),
      autoSize_(autoSize) {}

void Label::setCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  changed();
}

void Label::setForeColour(Colour colour) {
  if (fore_ == colour) return;
  fore_ = colour;
  changed();
}

void Label::setBold(bool bold) {
  if (bold_ == bold) return;
  bold_ = bold;
  changed();
}

void Label::setToolTip(const std::string& text) {
  if (toolTip_ == text) return;
  toolTip_ = text;
  changed();
}

Button::Button(std::string name, Control* container, Rect rect, std::string caption,
               Picture picture)
    : Control(ControlKind::Button, std::move(name), container, rect),
      caption_(std::move(caption)),
      picture_(picture) {}

void Button::setCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  changed();
}

ComboBox::ComboBox(std::string name, Control* container, Rect rect)
    : Control(ControlKind::ComboBox, std::move(name), container, rect) {}

void ComboBox::addItem(const std::string& item) {
  items_.push_back(item);
  changed();
}

void ComboBox::setListIndex(int index) {
  if (index < -1 || index >= listCount()) throw std::out_of_range("list index out of range");
  if (index == listIndex_) return;
  listIndex_ = index;
  changed();
  if (onClick) onClick();
}

std::string ComboBox::text() const {
  return listIndex_ < 0 ? std::string() : items_[static_cast<std::size_t>(listIndex_)];
}

Image::Image(std::string name, Control* container, Rect rect, Picture picture)
    : Control(ControlKind::Image, std::move(name), container, rect), picture_(picture) {}

void Image::setPicture(Picture picture) {
  if (picture_ == picture) return;
  picture_ = picture;
  changed();
}

TextBox::TextBox(std::string name, Control* container, Rect rect, std::string text)
    : Control(ControlKind::TextBox, std::move(name), container, rect), text_(std::move(text)) {}

void TextBox::setText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  changed();
}

Timer::Timer(std::string name, int intervalMs)
    : Control(ControlKind::Timer, std::move(name), nullptr, Rect{}), interval_(intervalMs) {}

}  // namespace kalmor
