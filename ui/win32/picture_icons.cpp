#include "ui/win32/picture_icons.h"

#include <vector>

#include "resources/icon_file.h"
#include "resources/pictures.h"

namespace kalmor {

PictureIcons::~PictureIcons() {
  for (const auto& [key, handle] : icons_) {
    if (handle != nullptr) DestroyIcon(handle);
  }
}

HICON PictureIcons::icon(Picture picture, int sizePixels) {
  if (picture == Picture::None) return nullptr;
  const auto key = std::make_pair(picture, sizePixels);
  if (const auto it = icons_.find(key); it != icons_.end()) return it->second;
  std::vector<std::uint8_t> image = IconImageBytes(PictureBitmap(picture, sizePixels));
  // 0x00030000: the icon format version that every Windows since 3.0 reads.
  const HICON made = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                              0x00030000, sizePixels, sizePixels, LR_DEFAULTCOLOR);
  icons_[key] = made;
  return made;
}

}  // namespace kalmor
