// GetSystemDefaultLCID and GetLocaleInfoA, answered by the system.
#pragma once

#include "i18n/locale_queries.h"

namespace kalmor {

class Win32LocaleQueries : public LocaleQueries {
 public:
  std::uint32_t getSystemDefaultLCID() override;
  std::optional<std::string> getLocaleInfo(std::uint32_t lcid, std::int32_t type) override;
};

}  // namespace kalmor
