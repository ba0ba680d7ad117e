// Writes one of the window's pictures to a file: a .ico with every icon size
// for the executable's icon resource, or a .pam of one size, enlarged by a
// whole factor, to look at.
//   icon_writer <information|error|warning|key> <file.ico | file.pam> [size [scale]]
#include <charconv>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
  std::cerr << "usage: icon_writer <information|error|warning|key> <file.ico | file.pam> [size [scale]]\n";
  return 2;
}

}  // namespace

// The whole number in text, if it lies in low..high.
std::optional<int> NumberIn(std::string_view text, int low, int high) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < low || number > high) {
    return std::nullopt;
  }
  return number;
}

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) return Usage();
  const std::optional<kalmor::Picture> picture = PictureNamed(argv[1]);
  const std::string path = argv[2];
  const std::optional<int> size = argc > 3 ? NumberIn(argv[3], 16, 256) : 16;
  const std::optional<int> scale = argc > 4 ? NumberIn(argv[4], 1, 64) : 1;
  if (!picture || !size || !scale) return Usage();

  std::string content;
  if (path.ends_with(".ico") && argc == 3) {
    std::vector<kalmor::PictureBits> images;
    for (const int iconSize : kalmor::kIconSizes) images.push_back(kalmor::PictureBitmap(*picture, iconSize));
    const auto bytes = kalmor::IcoFileBytes(images);
    content.assign(bytes.begin(), bytes.end());
  } else if (path.ends_with(".pam")) {
    content = kalmor::PamPreview(kalmor::PictureBitmap(*picture, *size), *scale);
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
