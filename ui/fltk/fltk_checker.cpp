#include "ui/fltk/fltk_checker.h"

#include <utility>

namespace kalmor {

FltkChecker::FltkChecker(Platform& platform, std::function<void()> endProcess)
    : toolkit_(std::move(endProcess)), window_(platform, toolkit_) {
  toolkit_.attach(window_);
}

void FltkChecker::open() {
  window_.Form_Load();
  toolkit_.build();
  toolkit_.show();
}

}  // namespace kalmor
