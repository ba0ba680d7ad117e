// The C library's text for an error number, delivered like FormatMessageA.
#pragma once

#include <optional>
#include <string>

#include "sysinfo/message_queries.h"

namespace kalmor {

// The text in the environment's language; nullopt where the C library has
// no text of its own for the number (it would only say "Unknown error N").
std::optional<std::string> SystemErrorText(int error);

class PosixMessageQueries : public MessageQueries {
 public:
  // nullopt also when the text and a NUL do not fit into size.
  std::optional<std::string> formatMessage(std::uint32_t flags, std::int32_t error,
                                           std::uint32_t languageId, std::uint32_t size) override;
};

}  // namespace kalmor
