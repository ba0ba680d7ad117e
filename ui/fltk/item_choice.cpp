#include "ui/fltk/item_choice.h"

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

}  // namespace kalmor
