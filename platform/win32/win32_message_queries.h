// FormatMessageA, answered by the system's message tables.
#pragma once

#include "sysinfo/message_queries.h"

namespace kalmor {

class Win32MessageQueries : public MessageQueries {
 public:
  std::optional<std::string> formatMessage(std::uint32_t flags, std::int32_t error,
                                           std::uint32_t languageId, std::uint32_t size) override;
};

}  // namespace kalmor
