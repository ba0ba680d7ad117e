#include "platform/win32/win32_locale_queries.h"

#include <windows.h>

namespace kalmor {

std::uint32_t Win32LocaleQueries::getSystemDefaultLCID() { return ::GetSystemDefaultLCID(); }

std::optional<std::string> Win32LocaleQueries::getLocaleInfo(std::uint32_t lcid,
                                                             std::int32_t type) {
  // Asked for the size (with the NUL) first, then for the text.
  const int needed = ::GetLocaleInfoA(lcid, static_cast<LCTYPE>(type), nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::string buffer(static_cast<std::size_t>(needed), ' ');
  if (::GetLocaleInfoA(lcid, static_cast<LCTYPE>(type), buffer.data(), needed) <= 0) {
    return std::nullopt;
  }
  buffer.resize(buffer.size() - 1);
  return buffer;
}

}  // namespace kalmor
