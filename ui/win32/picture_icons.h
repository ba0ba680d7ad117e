// The window's pictures as icons, made from the shared picture bits drawn for
// each size the screen's resolution asks for, and kept while this object lives
// (a change of resolution adds a few small icons, and none is freed while shown).
#pragma once

#include <map>
#include <tuple>

#include "testbench/controls.h"
#include "ui/win32/windows_api.h"

namespace kalmor {

class PictureIcons {
 public:
  PictureIcons() = default;
  ~PictureIcons();
  PictureIcons(const PictureIcons&) = delete;
  PictureIcons& operator=(const PictureIcons&) = delete;

  // sizePixels: one of kDrawnSizes. Null for Picture::None. The icon belongs
  // to this object. roomAfter transparent columns follow the picture (with
  // half as many rows above and below it, so the icon stays square and the
  // picture centred): a button draws its caption right after its picture.
  HICON icon(Picture picture, int sizePixels, int roomAfter = 0);

 private:
  std::map<std::tuple<Picture, int, int>, HICON> icons_;
};

}  // namespace kalmor
