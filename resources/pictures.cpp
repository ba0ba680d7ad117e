#include "resources/pictures.h"

#include <cstdlib>
#include <map>
#include <string>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "resources/picture_drawings.h"

namespace kalmor {
namespace {

// One character of the drawings below and its colour; '.' is always transparent.
struct Ink {
  char symbol;
  std::uint32_t argb;
};

constexpr int kSize = 16;
using Drawing = std::array<std::string_view, kSize>;
using Pixels = std::array<std::uint32_t, kSize * kSize>;

// Evaluated at compile time, so a malformed drawing does not compile.
template <std::size_t N>
constexpr Pixels Paint(const Drawing& rows, const std::array<Ink, N>& inks) {
  Pixels bits{};
  for (int y = 0; y < kSize; ++y) {
    const std::string_view row = rows[static_cast<std::size_t>(y)];
    if (row.size() != kSize) throw std::logic_error("drawing row is not 16 wide");
    for (int x = 0; x < kSize; ++x) {
      const char symbol = row[static_cast<std::size_t>(x)];
      std::uint32_t argb = 0;
      bool known = symbol == '.';
      for (const Ink& ink : inks) {
        if (ink.symbol == symbol) {
          argb = ink.argb;
          known = true;
        }
      }
      if (!known) throw std::logic_error("drawing uses a symbol without an ink");
      bits[static_cast<std::size_t>(y * kSize + x)] = argb;
    }
  }
  return bits;
}

// Half-transparent inks soften the outlines against any background.
constexpr Pixels kInformation = Paint(
    Drawing{
        "..,GGGGGGGGGG,..",
        ".,GWWWWWWWWWWG,.",
        ",GWWWWWbBbWWWWG,",
        "GWWWWWWBBBWWWWwG",
        "GWWWWWWbBbWWWWwG",
        "GWWWWWWWWWWWWWwG",
        "GWWWWWBBBBWWWWwG",
        "GWWWWWWBBBWWWWwG",
        "GWWWWWWBBBWWWWwG",
        "GWWWWWWBBBWWWWwG",
        "GWWWWWWBBBWWWWwG",
        "GWWWWWBBBBBWWWwG",
        ",GWWWwwwwwwwwwG,",
        ".,GGWWGGGGGGGG,.",
        "...GWG,.........",
        "..GG,...........",
    },
    std::array{
        Ink{'G', 0xFF6A7A94},  // bubble outline
        Ink{',', 0x606A7A94},
        Ink{'W', 0xFFFFFFFF},
        Ink{'w', 0xFFDCE4F0},  // shade inside the lower and right edge
        Ink{'B', 0xFF1450D8},  // the letter
        Ink{'b', 0xFFB4C8F4},
    });

constexpr Pixels kError = Paint(
    Drawing{
        ".....,:DD:,.....",
        "...,DrrrrrrD,...",
        "..,DrrrrrrrrD,..",
        ".,DrRRRRRRRRrD,.",
        ".DRRWWpRRpWWRRD.",
        ",DRRpWWppWWpRRD,",
        ":DRRRpWWWWpRRRD:",
        "DRRRRRpWWpRRRRRD",
        "DRRRRRpWWpRRRRRD",
        ":DRRRpWWWWpRRRD:",
        ",DRRpWWppWWpRRD,",
        ".DRRWWpRRpWWRRD.",
        ".,DRRRRRRRRRRD,.",
        "..,DRRRRRRRRD,..",
        "...,DDRRRRDD,...",
        ".....,:DD:,.....",
    },
    std::array{
        Ink{'R', 0xFFDC2828},  // disc
        Ink{'r', 0xFFF06058},  // light on its top
        Ink{'D', 0xFFB01414},  // rim
        Ink{':', 0xB0C01818},
        Ink{',', 0x50C01818},
        Ink{'W', 0xFFFFFFFF},  // cross
        Ink{'p', 0xFFF4B4B0},  // cross edge
    });

constexpr Pixels kWarning = Paint(
    Drawing{
        ".......,,.......",
        "......,OO,......",
        "......OyyO......",
        ".....,OyyO,.....",
        ".....OyyyyO.....",
        "....,OyKKyO,....",
        "....OYYKKYYO....",
        "...,OYYKKYYO,...",
        "...OYYYKKYYYO...",
        "..,OYYYkkYYYO,..",
        "..OYYYYYYYYYYO..",
        ".,OYYYYKKYYYYO,.",
        ".OYYYYYKKYYYYYO.",
        ",OYYYYYYYYYYYYO,",
        "OYYYYYYYYYYYYYYO",
        "OOOOOOOOOOOOOOOO",
    },
    std::array{
        Ink{'Y', 0xFFFFCC00},  // triangle
        Ink{'y', 0xFFFFE050},  // light near the tip
        Ink{'O', 0xFFB07800},  // outline
        Ink{',', 0x70B07800},
        Ink{'K', 0xFF000000},  // exclamation mark
        Ink{'k', 0xFF806010},  // its tapered foot
    });

constexpr Pixels kKey = Paint(
    Drawing{
        "................",
        "................",
        "................",
        ".,ooooo,........",
        ",ohhhhho,.......",
        "ohhdddYYo.......",
        "ohd...dYoooooooo",
        "oYd...dYYhhhhhho",
        "oYd...dYYYYYYYYo",
        "oYYdddYYooYYoYYo",
        ",oYYYYYo,oYYoYYo",
        ".,ooooo,.oYYooo,",
        ".........,oo,...",
        "................",
        "................",
        "................",
    },
    std::array{
        Ink{'o', 0xFF6E4600},  // outline
        Ink{',', 0x706E4600},
        Ink{'Y', 0xFFEAB52A},  // gold
        Ink{'h', 0xFFFFE88C},  // highlight
        Ink{'d', 0xFFB07E0C},  // shade around the hole
    });

const Pixels& HandDrawn(Picture picture) {
  switch (picture) {
    case Picture::Information:
      return kInformation;
    case Picture::Error:
      return kError;
    case Picture::Warning:
      return kWarning;
    case Picture::Key:
      return kKey;
    case Picture::None:
      break;
  }
  throw std::invalid_argument("Picture::None has no bits");
}

}  // namespace

int NearestDrawnSize(int pixels) {
  int nearest = kDrawnSizes.front();
  for (const int size : kDrawnSizes) {
    if (std::abs(size - pixels) < std::abs(nearest - pixels)) nearest = size;
  }
  return nearest;
}

const PictureBits& PictureBitmap(Picture picture, int size) {
  if (size < kSize || size > 256) throw std::invalid_argument("no picture of " + std::to_string(size) + " px");
  // Drawn once each, on first use; the window has a single thread.
  static std::map<std::pair<Picture, int>, PictureBits> made;
  const auto key = std::make_pair(picture, size);
  if (const auto it = made.find(key); it != made.end()) return it->second;
  PictureBits bits;
  if (size == kSize) {
    const Pixels& pixels = HandDrawn(picture);
    bits = PictureBits{kSize, std::vector<std::uint32_t>(pixels.begin(), pixels.end())};
  } else {
    bits = DrawnPicture(picture, size);
  }
  return made.emplace(key, std::move(bits)).first->second;
}

}  // namespace kalmor
