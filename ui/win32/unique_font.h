// A font this program made, deleted when its owner goes.
#pragma once

#include <memory>
#include <type_traits>

#include "ui/win32/windows_api.h"

namespace kalmor {

struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

}  // namespace kalmor
