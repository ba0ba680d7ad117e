#include "i18n/message_lookup.h"

#include <cstdint>
#include <vector>

#include "i18n/get_field.h"

namespace kalmor {

std::string RemoveCrLfPairs(const std::string& text) {
  std::string cleaned;
  cleaned.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
      continue;
    }
    cleaned += text[i];
  }
  return cleaned;
}

std::optional<std::string> LookupMessage(const std::string& table, int message, int language) {
  if (language < 0) return std::nullopt;
  const std::string entry = GetField(table, static_cast<std::int16_t>(message), "#");
  if (entry.empty()) return std::nullopt;
  std::vector<std::string> parts(1);
  for (char c : entry) {
    if (c == '@') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  if (static_cast<std::size_t>(language) >= parts.size()) return std::nullopt;
  return parts[static_cast<std::size_t>(language)];
}

}  // namespace kalmor
