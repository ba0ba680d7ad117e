#pragma once

#include <cstdint>
#include <string>

#include "sysinfo/message_queries.h"

namespace kalmor {

// The system's text for an error number (ANSI code page, untrimmed, "%1"
// left in place), or "Unbekannter Fehler: &H" and the number in hex.
std::string GetAPIError(MessageQueries& queries, std::int32_t error);

}  // namespace kalmor
