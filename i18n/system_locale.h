#pragma once

#include <cstdint>
#include <string>

#include "i18n/locale_queries.h"

namespace kalmor {

inline constexpr std::int32_t kLocaleICountry = 5;

// One value of the system default locale, without its terminating NUL.
std::string GetSystemLocaleInfo(LocaleQueries& queries, std::int32_t type);

// The language index to start in: 0 (German) for country code "49" exactly, else 1.
int StartLanguageIndex(const std::string& countryCode);

}  // namespace kalmor
