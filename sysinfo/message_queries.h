// FormatMessageA as GetAPIError uses it.
#pragma once

#include <cstdint>

namespace kalmor {

class MessageQueries {
 public:
  virtual ~MessageQueries() = default;
  // Stores at most size bytes of the system's text for error into buffer
  // (already filled with blanks) and returns the count stored, 0 on failure.
  virtual std::uint32_t formatMessage(std::uint32_t flags, std::int32_t error,
                                      std::uint32_t languageId, char* buffer,
                                      std::uint32_t size) = 0;
};

}  // namespace kalmor
