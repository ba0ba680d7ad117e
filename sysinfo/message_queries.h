// FormatMessageA as GetAPIError uses it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kalmor {

class MessageQueries {
 public:
  virtual ~MessageQueries() = default;
  // The system's text for error, as it fits into a buffer of size bytes;
  // nullopt when the system has none that fits (why does not matter here).
  virtual std::optional<std::string> formatMessage(std::uint32_t flags, std::int32_t error,
                                                   std::uint32_t languageId,
                                                   std::uint32_t size) = 0;
};

}  // namespace kalmor
