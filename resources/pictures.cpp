#include "resources/pictures.h"

#include <stdexcept>
#include <string_view>

namespace kalmor {
namespace {

// One character of the drawings below and its colour; '.' is always transparent.
struct Ink {
  char symbol;
  std::uint32_t argb;
};

using Drawing = std::array<std::string_view, PictureBits::kSize>;

// Evaluated at compile time, so a malformed drawing does not compile.
template <std::size_t N>
constexpr PictureBits Paint(const Drawing& rows, const std::array<Ink, N>& inks) {
  PictureBits bits;
  for (int y = 0; y < PictureBits::kSize; ++y) {
    const std::string_view row = rows[static_cast<std::size_t>(y)];
    if (row.size() != PictureBits::kSize) throw std::logic_error("drawing row is not 16 wide");
    for (int x = 0; x < PictureBits::kSize; ++x) {
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
      bits.pixels[static_cast<std::size_t>(y * PictureBits::kSize + x)] = argb;
    }
  }
  return bits;
}

// Half-transparent inks soften the outlines against any background.
constexpr PictureBits kInformation = Paint(
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

constexpr PictureBits kError = Paint(
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

constexpr PictureBits kWarning = Paint(
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

constexpr PictureBits kKey = Paint(
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

}  // namespace

const PictureBits& PictureBitmap(Picture picture) {
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

}  // namespace kalmor
