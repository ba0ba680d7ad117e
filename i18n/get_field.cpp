#include "i18n/get_field.h"

namespace kalmor {
namespace {

// 1-based position of needle in haystack at or after start, 0 if none.
long long InStr(long long start, const std::string& haystack, const std::string& needle) {
  const auto found = haystack.find(needle, static_cast<std::size_t>(start - 1));
  return found == std::string::npos ? 0 : static_cast<long long>(found) + 1;
}

std::string Mid(const std::string& text, long long start, long long length) {
  if (length <= 0 || start > static_cast<long long>(text.size())) return {};
  return text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length));
}

}  // namespace

std::string GetField(const std::string& source, std::int16_t index, const std::string& delimiter) {
  if (index < 1 || delimiter.empty()) return {};
  const long long d = static_cast<long long>(delimiter.size());
  long long previous = 1 - d;
  long long current = InStr(1, source, delimiter);
  long long count = 0;
  while (current != 0) {
    ++count;
    if (count >= index) break;
    previous = current;
    current = InStr(current + 1, source, delimiter);
  }
  if (count == index) return Mid(source, previous + d, current - previous - d);
  if (count == index - 1) {
    return Mid(source, previous + d, static_cast<long long>(source.size()) - (previous + d) + 1);
  }
  return {};
}

}  // namespace kalmor
