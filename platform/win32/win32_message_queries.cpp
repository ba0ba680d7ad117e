#include "platform/win32/win32_message_queries.h"

#include <windows.h>

#include <algorithm>

namespace kalmor {

std::optional<std::string> Win32MessageQueries::formatMessage(std::uint32_t flags,
                                                              std::int32_t error,
                                                              std::uint32_t languageId,
                                                              std::uint32_t size) {
  // No source and no arguments: the text comes from the system, inserts stay as they are.
  std::string buffer(size, ' ');
  const DWORD count = ::FormatMessageA(flags, nullptr, static_cast<DWORD>(error), languageId,
                                       buffer.data(), size, nullptr);
  if (count == 0) return std::nullopt;
  buffer.resize(std::min<std::size_t>(count, size));
  return buffer;
}

}  // namespace kalmor
