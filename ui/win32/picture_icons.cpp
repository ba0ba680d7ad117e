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

namespace {

PictureBits WithRoomAfter(const PictureBits& picture, int room) {
  // An even room keeps the picture's rows whole around its centre.
  room += room % 2;
  PictureBits padded{picture.size + room, {}};
  padded.pixels.assign(static_cast<std::size_t>(padded.size * padded.size), 0);
  for (int y = 0; y < picture.size; ++y) {
    for (int x = 0; x < picture.size; ++x) {
      padded.pixels[static_cast<std::size_t>((y + room / 2) * padded.size + x)] = picture.at(x, y);
    }
  }
  return padded;
}

}  // namespace

HICON PictureIcons::icon(Picture picture, int sizePixels, int roomAfter) {
  if (picture == Picture::None) return nullptr;
  const auto key = std::make_tuple(picture, sizePixels, roomAfter);
  if (const auto it = icons_.find(key); it != icons_.end()) return it->second;
  const PictureBits& bits = PictureBitmap(picture, sizePixels);
  const PictureBits shown = roomAfter > 0 ? WithRoomAfter(bits, roomAfter) : bits;
  std::vector<std::uint8_t> image = IconImageBytes(shown);
  // 0x00030000: the icon format version that every Windows since 3.0 reads.
  const HICON made = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                              0x00030000, shown.size, shown.size, LR_DEFAULTCOLOR);
  icons_[key] = made;
  return made;
}

}  // namespace kalmor
