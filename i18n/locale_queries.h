// The two locale calls behind GetSystemLocaleInfo.
#pragma once

#include <cstdint>

namespace kalmor {

class LocaleQueries {
 public:
  virtual ~LocaleQueries() = default;
  virtual std::uint32_t getSystemDefaultLCID() = 0;
  // GetLocaleInfoA: size 0 asks for the needed count including the NUL.
  virtual int getLocaleInfo(std::uint32_t lcid, std::int32_t type, char* buffer, int size) = 0;
};

}  // namespace kalmor
