// The window's four pictures, one set of bits that every front-end draws from.
#pragma once

#include <array>
#include <cstdint>

namespace kalmor {

// The pictures by name: the controls hold these, the front-ends draw them.
enum class Picture : std::uint8_t { None, Information, Error, Warning, Key };

// A 16 x 16 picture. Pixels run row by row from the top left; each is
// 0xAARRGGBB with straight (not premultiplied) alpha, alpha 0 being the
// transparent background.
struct PictureBits {
  static constexpr int kSize = 16;
  std::array<std::uint32_t, kSize * kSize> pixels{};

  constexpr std::uint32_t at(int x, int y) const { return pixels[y * kSize + x]; }
};

constexpr std::uint8_t AlphaOf(std::uint32_t argb) { return static_cast<std::uint8_t>(argb >> 24); }
constexpr std::uint8_t RedOf(std::uint32_t argb) { return static_cast<std::uint8_t>(argb >> 16); }
constexpr std::uint8_t GreenOf(std::uint32_t argb) { return static_cast<std::uint8_t>(argb >> 8); }
constexpr std::uint8_t BlueOf(std::uint32_t argb) { return static_cast<std::uint8_t>(argb); }

// Information: blue i in a white speech bubble. Error: white cross on a red
// disc. Warning: black exclamation mark on a yellow triangle. Key: golden key,
// the window icon. Picture::None has no bits: std::invalid_argument.
const PictureBits& PictureBitmap(Picture picture);

}  // namespace kalmor
