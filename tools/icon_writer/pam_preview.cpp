#include "tools/icon_writer/pam_preview.h"

namespace kalmor {

std::string PamPreview(const PictureBits& picture, int scale) {
  const int side = picture.size * scale;
  std::string out = "P7\nWIDTH " + std::to_string(side) + "\nHEIGHT " + std::to_string(side) +
                    "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      const std::uint32_t argb = picture.at(x / scale, y / scale);
      out += static_cast<char>(RedOf(argb));
      out += static_cast<char>(GreenOf(argb));
      out += static_cast<char>(BlueOf(argb));
      out += static_cast<char>(AlphaOf(argb));
    }
  }
  return out;
}

}  // namespace kalmor
