// The two locale calls behind GetSystemLocaleInfo.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kalmor {

class LocaleQueries {
 public:
  virtual ~LocaleQueries() = default;
  virtual std::uint32_t getSystemDefaultLCID() = 0;
  // GetLocaleInfoA's text without its NUL; nullopt when the system has none.
  virtual std::optional<std::string> getLocaleInfo(std::uint32_t lcid, std::int32_t type) = 0;
};

}  // namespace kalmor
