// A drop-down list whose items are shown exactly as given. Fl_Choice::add()
// would read "/" as a submenu, "\" as an escape and a leading "_" as a
// divider, and merge equal items; building the menu array directly avoids all that.
#pragma once

#include <FL/Fl_Choice.H>
#include <FL/Fl_Menu_Item.H>

#include <string>
#include <vector>

namespace kalmor {

class ItemChoice : public Fl_Choice {
 public:
  ItemChoice(int x, int y, int w, int h);

  // index -1 shows no selection.
  void setItems(const std::vector<std::string>& items, int index);
  int itemCount() const { return static_cast<int>(texts_.size()); }
  // As a closed drop-down list on Windows: the arrow keys, Home and End
  // choose an item, and the focus stays (FLTK would move it).
  int handle(int event) override;

 private:
  std::vector<std::string> texts_;  // the menu array points into these
  std::vector<Fl_Menu_Item> menu_;
};

}  // namespace kalmor
