#include "ui/fltk/item_choice.h"

#include <FL/Fl.H>

#include <algorithm>

#include "ui/fltk/plain_label.h"

namespace kalmor {

ItemChoice::ItemChoice(int x, int y, int w, int h) : Fl_Choice(x, y, w, h) {}

void ItemChoice::setItems(const std::vector<std::string>& items, int index) {
  if (items != texts_) {
    menu(nullptr);
    texts_ = items;
    menu_.assign(texts_.size() + 1, Fl_Menu_Item{});  // zeroed; the last ends the menu
    for (std::size_t i = 0; i < texts_.size(); ++i) {
      menu_[i].label(texts_[i].c_str());
      menu_[i].labeltype(PlainLabel());
    }
    menu(menu_.data());
  }
  if (index != value()) value(index);
  redraw();
}

int ItemChoice::handle(int event) {
  const bool plainKey = event == FL_KEYBOARD && Fl::focus() == this &&
                        (Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)) == 0;
  if (!plainKey) return Fl_Choice::handle(event);
  const int last = itemCount() - 1;
  int chosen = value();
  switch (Fl::event_key()) {
    case FL_Up:
    case FL_Left:
      chosen = std::max(0, value() - 1);
      break;
    case FL_Down:
    case FL_Right:
      chosen = std::min(last, value() + 1);
      break;
    case FL_Home:
      chosen = 0;
      break;
    case FL_End:
      chosen = last;
      break;
    default:
      return Fl_Choice::handle(event);
  }
  if (last >= 0 && chosen != value()) {
    value(chosen);
    do_callback();
  }
  return 1;
}

}  // namespace kalmor
