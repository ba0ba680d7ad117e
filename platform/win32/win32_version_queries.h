// The version, metric and architecture questions of the Windows naming,
// answered by the running system. IsWow64Process, GetNativeSystemInfo and
// GetProductInfo are looked up at their first call.
#pragma once

#include <memory>

#include "platform/win32/win32_registry_queries.h"
#include "sysinfo/win_version_queries.h"

namespace kalmor {

class Win32VersionQueries : public WinVersionQueries {
 public:
  Win32VersionQueries();
  ~Win32VersionQueries() override;
  Win32VersionQueries(const Win32VersionQueries&) = delete;
  Win32VersionQueries& operator=(const Win32VersionQueries&) = delete;

  bool getVersionEx(PlainVersionRecord& record) override;
  bool getVersionEx(ExtendedVersionRecord& record) override;
  int getSystemMetrics(int index) override;
  bool isWow64Process(bool& wow64) override;
  std::uint16_t getNativeSystemInfoArchitecture() override;
  std::uint16_t getSystemInfoArchitecture() override;
  std::uint32_t getProductInfo(std::uint32_t osMajor, std::uint32_t osMinor,
                               std::uint32_t spMajor, std::uint32_t spMinor) override;
  RegistryQueries& registry() override { return registry_; }

 private:
  struct LateFunctions;
  std::unique_ptr<LateFunctions> late_;
  Win32RegistryQueries registry_;
};

}  // namespace kalmor
