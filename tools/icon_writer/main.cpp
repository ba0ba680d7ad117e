// Writes one of the window's pictures to a file: a .ico for the executable's
// icon resource, or an enlarged .pam to look at.
//   icon_writer <information|error|warning|key> <file.ico | file.pam> [scale]
#include <charconv>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "resources/icon_file.h"
#include "resources/pictures.h"
#include "tools/icon_writer/pam_preview.h"

namespace {

std::optional<kalmor::Picture> PictureNamed(std::string_view name) {
  using kalmor::Picture;
  if (name == "information") return Picture::Information;
  if (name == "error") return Picture::Error;
  if (name == "warning") return Picture::Warning;
  if (name == "key") return Picture::Key;
  return std::nullopt;
}

int Usage() {
  std::cerr << "usage: icon_writer <information|error|warning|key> <file.ico | file.pam> [scale]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) return Usage();
  const std::optional<kalmor::Picture> picture = PictureNamed(argv[1]);
  const std::string path = argv[2];
  int scale = 1;
  if (argc == 4) {
    const std::string_view text = argv[3];
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
    if (error != std::errc() || end != text.data() + text.size() || scale < 1 || scale > 64) {
      return Usage();
    }
  }
  if (!picture) return Usage();
  const kalmor::PictureBits& bits = kalmor::PictureBitmap(*picture);

  std::string content;
  if (path.ends_with(".ico")) {
    const auto bytes = kalmor::IcoFileBytes(bits);
    content.assign(bytes.begin(), bytes.end());
  } else if (path.ends_with(".pam")) {
    content = kalmor::PamPreview(bits, scale);
  } else {
    return Usage();
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  if (out.fail()) {
    std::cerr << "icon_writer: cannot write " << path << '\n';
    return 1;
  }
  return 0;
}
