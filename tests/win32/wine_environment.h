// What the Wine prefix that runs the tests was set up as. cmake/wine-run.sh
// sets the Windows version from KALMOR_WINE_VERSION; Wine takes the system
// locale from the Unix locale; a 64-bit prefix has a SysWOW64 folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace kalmor::testing {

inline std::optional<std::string> Variable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

inline std::optional<std::string> ConfiguredWindowsVersion() {
  return Variable("KALMOR_WINE_VERSION");
}

// The Unix locale the prefix was started with, as the C library picks it.
inline std::optional<std::string> UnixLocale() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    if (auto value = Variable(name)) return value;
  }
  return std::nullopt;
}

inline bool SixtyFourBitSystem() {
  return std::filesystem::is_directory("C:/windows/syswow64");
}

}  // namespace kalmor::testing
