// The window's pictures as icons, made from the shared picture bits drawn for
// each size the screen's resolution asks for, and kept while this object lives
// (a change of resolution adds a few small icons, and none is freed while shown).
#pragma once

#include <map>
#include <utility>

#include "testbench/controls.h"
#include "ui/win32/windows_api.h"

namespace kalmor {

class PictureIcons {
 public:
  PictureIcons() = default;
  ~PictureIcons();
  PictureIcons(const PictureIcons&) = delete;
  PictureIcons& operator=(const PictureIcons&) = delete;

  // sizePixels: one of kDrawnSizes. Null for Picture::None. The icon belongs to this object.
  HICON icon(Picture picture, int sizePixels);

 private:
  std::map<std::pair<Picture, int>, HICON> icons_;
};

}  // namespace kalmor
