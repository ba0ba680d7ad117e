// International calling codes by ISO 3166 country: the country code that a
// Windows locale reports, which the start-language rule reads.
#pragma once

#include <optional>
#include <string_view>

namespace kalmor {

// isoCountry in upper case ("DE"); nullopt for a country not in the table.
std::optional<std::string_view> CallingCodeForCountry(std::string_view isoCountry);

}  // namespace kalmor
