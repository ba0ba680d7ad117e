// Names the running Windows from what it reports about itself.
#pragma once

#include <stdexcept>
#include <string>

#include "sysinfo/win_version_queries.h"

namespace kalmor {

// A fatal query failed; the caller shows "not identified".
class WinVersionError : public std::runtime_error {
 public:
  WinVersionError() : std::runtime_error("Windows version query failed") {}
};

// Returns the name text in the system's ANSI code page. Throws WinVersionError.
std::string GetWinVersion(WinVersionQueries& queries);

}  // namespace kalmor
