#include "i18n/system_locale.h"

namespace kalmor {

std::string GetSystemLocaleInfo(LocaleQueries& queries, std::int32_t type) {
  const std::uint32_t lcid = queries.getSystemDefaultLCID();
  const int needed = queries.getLocaleInfo(lcid, type, nullptr, 0);
  // A failed size query has no value to read; any text but "49" means English.
  if (needed <= 0) return {};
  std::string buffer(static_cast<std::size_t>(needed), ' ');
  queries.getLocaleInfo(lcid, type, buffer.data(), needed);
  buffer.resize(buffer.size() - 1);
  return buffer;
}

int StartLanguageIndex(const std::string& countryCode) { return countryCode == "49" ? 0 : 1; }

}  // namespace kalmor
