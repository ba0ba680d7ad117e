// GetField on any text, delimiter and index: never more than the text, and
// where the delimiter cannot overlap itself, exactly the field a plain split
// gives (the empty string past the last one).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "i18n/get_field.h"

namespace {

bool CanOverlapItself(const std::string& delimiter) {
  for (std::size_t k = 1; k < delimiter.size(); ++k) {
    if (delimiter.compare(0, k, delimiter, delimiter.size() - k, k) == 0) return true;
  }
  return false;
}

// The index-th field of a plain split, or "" past the last one.
std::string Field(const std::string& text, const std::string& delimiter, std::size_t index) {
  std::size_t from = 0;
  for (; index > 1; --index) {
    const std::size_t at = text.find(delimiter, from);
    if (at == std::string::npos) return {};
    from = at + delimiter.size();
  }
  return text.substr(from, text.find(delimiter, from) - from);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  // Small indexes mostly, so that real fields are hit; now and then any.
  const auto raw = static_cast<std::int16_t>(data[0] | (data[1] << 8));
  const std::int16_t index = (data[1] & 0x80) != 0 ? raw : static_cast<std::int16_t>(data[0] % 12);
  const std::size_t delimiterLength = data[2] % 4;
  if (size < 3 + delimiterLength) return 0;
  const char* text = reinterpret_cast<const char*>(data) + 3;
  const std::string delimiter(text, delimiterLength);
  const std::string source(text + delimiterLength, size - 3 - delimiterLength);

  const std::string field = kalmor::GetField(source, index, delimiter);
  if (index < 1 || delimiter.empty()) {
    if (!field.empty()) std::abort();
    return 0;
  }
  if (source.find(field) == std::string::npos) std::abort();
  if (CanOverlapItself(delimiter)) return 0;
  if (field != Field(source, delimiter, static_cast<std::size_t>(index))) std::abort();
  return 0;
}
