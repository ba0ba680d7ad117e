#include "platform/win32/win32_locale_queries.h"

#include <windows.h>

namespace kalmor {

std::uint32_t Win32LocaleQueries::getSystemDefaultLCID() { return ::GetSystemDefaultLCID(); }

int Win32LocaleQueries::getLocaleInfo(std::uint32_t lcid, std::int32_t type, char* buffer,
                                      int size) {
  return ::GetLocaleInfoA(lcid, static_cast<LCTYPE>(type), buffer, size);
}

}  // namespace kalmor
