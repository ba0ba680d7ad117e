#include "ui/fltk/picture_images.h"

#include <FL/Fl_RGB_Image.H>

#include <map>
#include <memory>
#include <tuple>

#include "ui/pixel_layout.h"

namespace kalmor {
namespace {

Fl_RGB_Image* CachedImage(Picture picture, int size, int rightMargin) {
  if (picture == Picture::None) return nullptr;
  struct Entry {
    std::vector<unsigned char> bytes;  // the image draws from these, it does not copy them
    std::unique_ptr<Fl_RGB_Image> image;
  };
  static std::map<std::tuple<Picture, int, int>, Entry> images;
  Entry& entry = images[{picture, size, rightMargin}];
  if (entry.image == nullptr) {
    entry.bytes = RgbaBytes(PictureBitmap(picture, size), rightMargin);
    entry.image = std::make_unique<Fl_RGB_Image>(entry.bytes.data(), size + rightMargin, size, 4);
  }
  return entry.image.get();
}

}  // namespace

std::vector<unsigned char> RgbaBytes(const PictureBits& bits, int rightMargin) {
  std::vector<unsigned char> bytes;
  bytes.reserve(static_cast<std::size_t>((bits.size + rightMargin) * bits.size * 4));
  for (int y = 0; y < bits.size; ++y) {
    for (int x = 0; x < bits.size; ++x) {
      const std::uint32_t argb = bits.at(x, y);
      bytes.insert(bytes.end(), {RedOf(argb), GreenOf(argb), BlueOf(argb), AlphaOf(argb)});
    }
    bytes.insert(bytes.end(), static_cast<std::size_t>(rightMargin) * 4, 0);
  }
  return bytes;
}

Fl_RGB_Image* PictureImage(Picture picture, int size) { return CachedImage(picture, size, 0); }

Fl_RGB_Image* ButtonPictureImage(Picture picture, int size) {
  return CachedImage(picture, size, ButtonPictureGap(size));
}

}  // namespace kalmor
