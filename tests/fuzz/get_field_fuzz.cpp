// GetField on any text, delimiter and index: never more than the text, and
// where the delimiter cannot overlap itself, exactly the field a plain split
// gives (the empty string past the last one).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "i18n/get_field.h"

namespace {

bool CanOverlapItself(const std::string& delimiter) {
  for (std::size_t k = 1; k < delimiter.size(); ++k) {
    if (delimiter.compare(0, k, delimiter, delimiter.size() - k, k) == 0) return true;
  }
  return false;
}

std::vector<std::string> Split(const std::string& text, const std::string& delimiter) {
  std::vector<std::string> fields;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(delimiter, from)) != std::string::npos;) {
    fields.push_back(text.substr(from, at - from));
    from = at + delimiter.size();
  }
  fields.push_back(text.substr(from));
  return fields;
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
  const std::vector<std::string> fields = Split(source, delimiter);
  const std::size_t n = static_cast<std::size_t>(index);
  if (field != (n <= fields.size() ? fields[n - 1] : std::string())) std::abort();
  return 0;
}
