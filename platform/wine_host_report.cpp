#include "platform/wine_host_report.h"

#include <charconv>

namespace kalmor {
namespace {
constexpr char kDigits[] = "0123456789abcdef";
constexpr std::string_view kExit = "exit ";
constexpr std::string_view kNoStart = "nostart ";

int Nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

std::string ToHex(std::string_view bytes) {
  std::string hex;
  for (const char c : bytes) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 15];
  }
  return hex;
}

std::optional<std::string> FromHex(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = Nibble(hex[i]);
    const int low = Nibble(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

std::string WineHostReport(std::uint32_t code, const std::string& text) {
  return std::string(kExit) + std::to_string(code) + " " + text + "\n";
}

std::string WineHostStartFailure(std::uint32_t error, const std::string& text) {
  return std::string(kNoStart) + std::to_string(error) + " " + text + "\n";
}

std::optional<WineHostExit> ReadWineHostReport(std::string_view output) {
  // Wine may print lines of its own before it.
  std::size_t start = 0;
  while (output.substr(start, kExit.size()) != kExit &&
         output.substr(start, kNoStart.size()) != kNoStart) {
    start = output.find('\n', start);
    if (start == std::string_view::npos) return std::nullopt;
    ++start;
  }
  WineHostExit exit;
  exit.started = output.substr(start, kExit.size()) == kExit;
  const std::string_view line = output.substr(start + (exit.started ? kExit : kNoStart).size());
  const auto end = line.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  const auto [rest, error] = std::from_chars(line.data(), line.data() + end, exit.code);
  if (error != std::errc() || rest == line.data() || (rest != line.data() + end && *rest != ' ')) {
    return std::nullopt;
  }
  if (rest != line.data() + end) exit.text.assign(rest + 1, line.data() + end);
  while (!exit.text.empty() && exit.text.back() == '\r') exit.text.pop_back();
  return exit;
}

}  // namespace kalmor
