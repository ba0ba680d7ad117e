#include "i18n/system_locale.h"

namespace kalmor {

std::string GetSystemLocaleInfo(LocaleQueries& queries, std::int32_t type) {
  // A failed query has no value to read; any text but "49" means English.
  return queries.getLocaleInfo(queries.getSystemDefaultLCID(), type).value_or("");
}

int StartLanguageIndex(const std::string& countryCode) { return countryCode == "49" ? 0 : 1; }

}  // namespace kalmor
