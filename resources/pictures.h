// The window's four pictures, one set of bits that every front-end draws from.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kalmor {

// The pictures by name: the controls hold these, the front-ends draw them.
enum class Picture : std::uint8_t { None, Information, Error, Warning, Key };

// A square picture. Pixels run row by row from the top left; each is
// 0xAARRGGBB with straight (not premultiplied) alpha, alpha 0 being the
// transparent background.
struct PictureBits {
  int size = 0;
  std::vector<std::uint32_t> pixels;  // size * size

  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * size + x)]; }
};

constexpr std::uint8_t AlphaOf(std::uint32_t argb) { return static_cast<std::uint8_t>(argb >> 24); }
constexpr std::uint8_t RedOf(std::uint32_t argb) { return static_cast<std::uint8_t>(argb >> 16); }
constexpr std::uint8_t GreenOf(std::uint32_t argb) { return static_cast<std::uint8_t>(argb >> 8); }
constexpr std::uint8_t BlueOf(std::uint32_t argb) { return static_cast<std::uint8_t>(argb); }

// The sizes the window shows its pictures at: 16 px is the hand-drawn set
// for 96 dpi, the others are drawn for their own size, not enlarged from it.
inline constexpr std::array<int, 5> kDrawnSizes{16, 20, 24, 32, 48};
// The program file's icon adds a large image for Explorer's biggest views.
inline constexpr std::array<int, 6> kIconSizes{16, 20, 24, 32, 48, 256};

// The drawn size nearest to pixels; between two equally near, the smaller,
// so that a picture does not outgrow the room laid out for it.
int NearestDrawnSize(int pixels);

// Information: blue i in a white speech bubble. Error: white cross on a red
// disc. Warning: black exclamation mark on a yellow triangle. Key: golden key,
// the window icon. Any size from 16 to 256 px: 16 is the hand-drawn picture,
// larger ones are drawn at their size. Picture::None or another size:
// std::invalid_argument. The bits live as long as the program.
const PictureBits& PictureBitmap(Picture picture, int size = 16);

}  // namespace kalmor
