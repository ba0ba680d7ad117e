#pragma once

#include <optional>
#include <string>

namespace kalmor {

// Removes every CR LF pair; the stored table carries them at arbitrary places.
std::string RemoveCrLfPairs(const std::string& text);

// Message n (1..25) of the table in language 0 (German) or 1 (English);
// nothing when the entry is empty, lacks that language, or language is -1.
std::optional<std::string> LookupMessage(const std::string& table, int message, int language);

}  // namespace kalmor
