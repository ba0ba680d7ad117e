// RegOpenKeyExA, RegQueryValueExA and RegCloseKey, answered by the system.
#pragma once

#include "sysinfo/registry_queries.h"

namespace kalmor {

class Win32RegistryQueries : public RegistryQueries {
 public:
  std::int32_t regOpenKeyEx(std::uint32_t root, const std::string& path, std::uint32_t options,
                            std::uint32_t access, RegistryKey& key) override;
  std::int32_t regQueryValueEx(RegistryKey key, const std::string& valueName, char* data,
                               std::uint32_t& size) override;
  std::int32_t regCloseKey(RegistryKey key) override;
};

}  // namespace kalmor
