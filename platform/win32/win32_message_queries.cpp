#include "platform/win32/win32_message_queries.h"

#include <windows.h>

namespace kalmor {

std::uint32_t Win32MessageQueries::formatMessage(std::uint32_t flags, std::int32_t error,
                                                 std::uint32_t languageId, char* buffer,
                                                 std::uint32_t size) {
  // No source and no arguments: the text comes from the system, inserts stay as they are.
  return ::FormatMessageA(flags, nullptr, static_cast<DWORD>(error), languageId, buffer, size,
                          nullptr);
}

}  // namespace kalmor
