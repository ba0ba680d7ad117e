// GetField on any text and index, with delimiters of one or more bytes:
// exactly the field a plain split gives (the empty string past the last one).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "i18n/get_field.h"

namespace {

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
  const char* const delimiters[] = {"", "#", "@", "ab", "::#"};  // none can overlap itself
  const std::string delimiter = delimiters[data[2] % 5];
  const std::string source(reinterpret_cast<const char*>(data) + 3, size - 3);

  const std::string field = kalmor::GetField(source, index, delimiter);
  if (index < 1 || delimiter.empty()) {
    if (!field.empty()) std::abort();
    return 0;
  }
  if (source.find(field) == std::string::npos) std::abort();
  if (field != Field(source, delimiter, static_cast<std::size_t>(index))) std::abort();
  return 0;
}
