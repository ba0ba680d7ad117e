#include "sysinfo/get_api_error.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace kalmor {
namespace {

constexpr std::uint32_t kFormatFlags = 0x12FF;  // from system, ignore inserts, no line breaks
constexpr std::uint32_t kUserDefaultLanguage = 0x0400;
constexpr std::uint32_t kBufferSize = 1024;

// Negative numbers come out as their 32-bit two's complement, eight digits.
std::string UpperHex(std::int32_t number) {
  std::array<char, 8> digits{};
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(),
                                    static_cast<std::uint32_t>(number), 16);
  std::string text(digits.data(), result.ptr);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  return text;
}

}  // namespace

std::string GetAPIError(MessageQueries& queries, std::int32_t error) {
  if (auto text = queries.formatMessage(kFormatFlags, error, kUserDefaultLanguage, kBufferSize)) {
    return *std::move(text);
  }
  return "Unbekannter Fehler: &H" + UpperHex(error);
}

}  // namespace kalmor
