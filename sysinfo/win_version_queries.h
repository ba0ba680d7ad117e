// What the Windows edition naming asks the system. The naming procedure only
// sees this interface, so every branch can be driven by recorded answers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>

#include "sysinfo/registry_queries.h"

namespace kalmor {

// The fields read from OSVERSIONINFOA.
struct PlainVersionRecord {
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
  std::array<char, 128> csdVersion{};  // not necessarily NUL-terminated
};

// The fields read from OSVERSIONINFOEXA.
struct ExtendedVersionRecord {
  std::uint32_t minorVersion = 0;
  std::uint16_t suiteMask = 0;
  std::uint8_t productType = 0;
};

// A system function that the running system does not export.
class MissingSystemFunction : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class WinVersionQueries {
 public:
  virtual ~WinVersionQueries() = default;
  // GetVersionExA; false is the call's zero result.
  virtual bool getVersionEx(PlainVersionRecord& record) = 0;
  virtual bool getVersionEx(ExtendedVersionRecord& record) = 0;
  virtual int getSystemMetrics(int index) = 0;
  // GetCurrentProcess + IsWow64Process; false is the call's zero result.
  // Throws MissingSystemFunction where the system lacks it; so do the two below.
  virtual bool isWow64Process(bool& wow64) = 0;
  virtual std::uint16_t getNativeSystemInfoArchitecture() = 0;
  virtual std::uint16_t getSystemInfoArchitecture() = 0;
  // GetProductInfo's output; 0 when the call writes nothing.
  virtual std::uint32_t getProductInfo(std::uint32_t osMajor, std::uint32_t osMinor,
                                       std::uint32_t spMajor, std::uint32_t spMinor) = 0;
  virtual RegistryQueries& registry() = 0;
};

}  // namespace kalmor
