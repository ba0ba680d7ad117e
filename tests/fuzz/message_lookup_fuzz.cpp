// The message table on any text: removing CR LF pairs removes exactly those
// bytes, and a lookup gives one language's part of one entry or nothing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "i18n/message_lookup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string table(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::string cleaned = kalmor::RemoveCrLfPairs(table);
  std::size_t pairs = 0;
  for (std::size_t at = 0; (at = table.find("\r\n", at)) != std::string::npos; at += 2) ++pairs;
  if (cleaned.size() + 2 * pairs != table.size()) std::abort();

  for (const int message : {0, 1, 2, 11, 25, 26, int{data[0]}, -data[0]}) {
    for (int language = -1; language <= 2; ++language) {
      const auto text = kalmor::LookupMessage(cleaned, message, language);
      if (!text) continue;
      if (language < 0 || text->find_first_of("#@") != std::string::npos) std::abort();
      if (cleaned.find(*text) == std::string::npos) std::abort();
    }
  }
  return 0;
}
