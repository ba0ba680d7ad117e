#include "ui/win32/native_text.h"

namespace kalmor {

std::string WithCrLf(const std::string& caption) {
  std::string out;
  out.reserve(caption.size() + 4);
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const char c = caption[i];
    if (c == '\r' && i + 1 < caption.size() && caption[i + 1] == '\n') {
      out += "\r\n";
      ++i;
    } else if (c == '\r' || c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::uint32_t ColourRef(Colour colour, std::uint32_t buttonText, std::uint32_t buttonFace) {
  switch (colour.kind) {
    case Colour::Kind::ButtonText:
      return buttonText;
    case Colour::Kind::ButtonFace:
      return buttonFace;
    case Colour::Kind::Rgb:
      break;
  }
  return static_cast<std::uint32_t>(colour.r) | static_cast<std::uint32_t>(colour.g) << 8 |
         static_cast<std::uint32_t>(colour.b) << 16;
}

}  // namespace kalmor
