#include "resources/icon_file.h"

namespace kalmor {
namespace {

constexpr int kSize = PictureBits::kSize;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kIconDirSize = 6;
constexpr std::uint32_t kIconDirEntrySize = 16;
constexpr int kMaskRowBytes = ((kSize + 31) / 32) * 4;

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
  constexpr std::uint32_t kColourBytes = kSize * kSize * 4;
  constexpr std::uint32_t kMaskBytes = kSize * kMaskRowBytes;
  std::vector<std::uint8_t> out;
  out.reserve(kInfoHeaderSize + kColourBytes + kMaskBytes);

  Put32(out, kInfoHeaderSize);
  Put32(out, kSize);      // width
  Put32(out, 2 * kSize);  // height: colour rows and mask rows
  Put16(out, 1);          // planes
  Put16(out, 32);         // bits per pixel
  Put32(out, 0);          // BI_RGB
  Put32(out, kColourBytes + kMaskBytes);
  Put32(out, 0);  // pixels per metre, x
  Put32(out, 0);  // pixels per metre, y
  Put32(out, 0);  // colours used
  Put32(out, 0);  // important colours

  for (int y = kSize - 1; y >= 0; --y) {
    for (int x = 0; x < kSize; ++x) {
      const std::uint32_t argb = picture.at(x, y);
      out.push_back(BlueOf(argb));
      out.push_back(GreenOf(argb));
      out.push_back(RedOf(argb));
      out.push_back(AlphaOf(argb));
    }
  }
  for (int y = kSize - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(kMaskRowBytes, 0);
    for (int x = 0; x < kSize; ++x) {
      if (AlphaOf(picture.at(x, y)) == 0) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<std::uint8_t> IcoFileBytes(const PictureBits& picture) {
  const std::vector<std::uint8_t> image = IconImageBytes(picture);
  std::vector<std::uint8_t> out;
  out.reserve(kIconDirSize + kIconDirEntrySize + image.size());
  Put16(out, 0);  // reserved
  Put16(out, 1);  // type: icon
  Put16(out, 1);  // image count
  out.push_back(static_cast<std::uint8_t>(kSize));  // width
  out.push_back(static_cast<std::uint8_t>(kSize));  // height
  out.push_back(0);                                 // palette colours: none
  out.push_back(0);                                 // reserved
  Put16(out, 1);                                    // planes
  Put16(out, 32);                                   // bits per pixel
  Put32(out, static_cast<std::uint32_t>(image.size()));
  Put32(out, kIconDirSize + kIconDirEntrySize);  // offset of the image
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace kalmor
