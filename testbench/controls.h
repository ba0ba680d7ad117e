// The window's control objects: plain property holders that a front-end turns
// into real widgets. Behaviour lives in the window's handlers, not here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "resources/pictures.h"

namespace kalmor {

class Control;

// Told about every property change, so a front-end can keep its widget in sync.
class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void controlChanged(Control& control) = 0;
};

struct Rect {  // twips, relative to the container
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

struct Colour {
  enum class Kind : std::uint8_t { Rgb, ButtonText, ButtonFace };
  Kind kind = Kind::ButtonText;
  std::uint8_t r = 0, g = 0, b = 0;

  static constexpr Colour rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Colour{Kind::Rgb, r, g, b};
  }
  static constexpr Colour buttonText() { return Colour{Kind::ButtonText, 0, 0, 0}; }
  static constexpr Colour buttonFace() { return Colour{Kind::ButtonFace, 0, 0, 0}; }
  bool operator==(const Colour&) const = default;
};

inline constexpr Colour kBlue = Colour::rgb(0, 0, 255);
inline constexpr Colour kRed = Colour::rgb(255, 0, 0);
inline constexpr Colour kBlack = Colour::rgb(0, 0, 0);

enum class ControlKind : std::uint8_t { Form, Frame, Label, ComboBox, Button, Image, TextBox, Timer };

class Control {
 public:
  Control(ControlKind kind, std::string name, Control* container, Rect rect);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  Control* container() const { return container_; }

  const Rect& rect() const { return rect_; }
  void setRect(const Rect& rect);
  void setLeft(int left);
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  void setObserver(ControlObserver* observer) { observer_ = observer; }

 protected:
  void changed();

 private:
  ControlKind kind_;
  std::string name_;
  Control* container_;
  Rect rect_;
  bool visible_ = true;
  bool enabled_ = true;
  ControlObserver* observer_ = nullptr;
};

// The window itself: title, icon and client size.
class Form : public Control {
 public:
  Form(std::string name, Rect clientArea, std::string caption, Picture icon);
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);
  Picture icon() const { return icon_; }

 private:
  std::string caption_;
  Picture icon_;
};

class Frame : public Control {
 public:
  Frame(std::string name, Control* container, Rect rect, std::string caption, bool bordered);
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);
  bool bordered() const { return bordered_; }

 private:
  std::string caption_;
  bool bordered_;
};

class Label : public Control {
 public:
  Label(std::string name, Control* container, Rect rect, std::string caption, bool autoSize);
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);
  Colour foreColour() const { return fore_; }
  void setForeColour(Colour colour);
  Colour backColour() const { return back_; }
  bool bold() const { return bold_; }
  void setBold(bool bold);
  const std::string& toolTip() const { return toolTip_; }
  void setToolTip(const std::string& text);
  bool autoSize() const { return autoSize_; }

 private:
  std::string caption_;
  Colour fore_ = Colour::buttonText();
  Colour back_ = Colour::buttonFace();
  bool bold_ = false;
  std::string toolTip_;
  bool autoSize_;
};

class Button : public Control {
 public:
  Button(std::string name, Control* container, Rect rect, std::string caption, Picture picture);
  // "&" marks the access key, as in "&Starten".
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);
  Picture picture() const { return picture_; }
  std::function<void()> onClick;

 private:
  std::string caption_;
  Picture picture_;
};

// A drop-down list without typing. Selecting by program runs onClick before
// setListIndex returns, exactly like a user's choice.
class ComboBox : public Control {
 public:
  ComboBox(std::string name, Control* container, Rect rect);
  const std::vector<std::string>& items() const { return items_; }
  int listCount() const { return static_cast<int>(items_.size()); }
  void addItem(const std::string& item);
  int listIndex() const { return listIndex_; }
  void setListIndex(int index);  // -1 clears the selection
  std::string text() const;      // the selected item, or empty
  std::function<void()> onClick;

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

class Image : public Control {
 public:
  Image(std::string name, Control* container, Rect rect, Picture picture);
  Picture picture() const { return picture_; }
  void setPicture(Picture picture);

 private:
  Picture picture_;
};

class TextBox : public Control {
 public:
  TextBox(std::string name, Control* container, Rect rect, std::string text);
  const std::string& text() const { return text_; }
  void setText(const std::string& text);

 private:
  std::string text_;
};

class Timer : public Control {
 public:
  Timer(std::string name, int intervalMs);
  int interval() const { return interval_; }

 private:
  int interval_;
};

}  // namespace kalmor
