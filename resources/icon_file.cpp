#include "resources/icon_file.h"

namespace kalmor {
namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kIconDirSize = 6;
constexpr std::uint32_t kIconDirEntrySize = 16;

// Little-endian, as every field of these formats.
void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, static_cast<std::uint16_t>(value));
  Put16(out, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

std::vector<std::uint8_t> IconImageBytes(const PictureBits& picture) {
  const int size = picture.size;
  const int maskRowBytes = ((size + 31) / 32) * 4;
  const auto colourBytes = static_cast<std::uint32_t>(size * size * 4);
  const auto maskBytes = static_cast<std::uint32_t>(size * maskRowBytes);
  std::vector<std::uint8_t> out;
  out.reserve(kInfoHeaderSize + colourBytes + maskBytes);

  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<std::uint32_t>(size));      // width
  Put32(out, static_cast<std::uint32_t>(2 * size));  // height: colour rows and mask rows
  Put16(out, 1);          // planes
  Put16(out, 32);         // bits per pixel
  Put32(out, 0);          // BI_RGB
  Put32(out, colourBytes + maskBytes);
  Put32(out, 0);  // pixels per metre, x
  Put32(out, 0);  // pixels per metre, y
  Put32(out, 0);  // colours used
  Put32(out, 0);  // important colours

  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const std::uint32_t argb = picture.at(x, y);
      out.push_back(BlueOf(argb));
      out.push_back(GreenOf(argb));
      out.push_back(RedOf(argb));
      out.push_back(AlphaOf(argb));
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(maskRowBytes), 0);
    for (int x = 0; x < size; ++x) {
      if (AlphaOf(picture.at(x, y)) == 0) {
        row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<std::uint8_t> IcoFileBytes(const std::vector<PictureBits>& pictures) {
  std::vector<std::uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // type: icon
  Put16(out, static_cast<std::uint16_t>(pictures.size()));
  std::vector<std::uint8_t> images;
  for (const PictureBits& picture : pictures) {
    const std::vector<std::uint8_t> image = IconImageBytes(picture);
    const auto side = static_cast<std::uint8_t>(picture.size);  // 256 is written as 0
    out.push_back(side);  // width
    out.push_back(side);  // height
    out.push_back(0);     // palette colours: none
    out.push_back(0);     // reserved
    Put16(out, 1);        // planes
    Put16(out, 32);       // bits per pixel
    Put32(out, static_cast<std::uint32_t>(image.size()));
    Put32(out, static_cast<std::uint32_t>(kIconDirSize + kIconDirEntrySize * pictures.size() + images.size()));
    images.insert(images.end(), image.begin(), image.end());
  }
  out.insert(out.end(), images.begin(), images.end());
  return out;
}

}  // namespace kalmor
