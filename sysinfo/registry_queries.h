// The three registry calls behind GetRegString, as the system answers them.
#pragma once

#include <cstdint>
#include <string>

namespace kalmor {

using RegistryKey = std::uintptr_t;  // 0 is no key

inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kKeyQueryValue = 1;

class RegistryQueries {
 public:
  virtual ~RegistryQueries() = default;
  // Each returns the system's status code; 0 is success.
  virtual std::int32_t regOpenKeyEx(std::uint32_t root, const std::string& path,
                                    std::uint32_t options, std::uint32_t access,
                                    RegistryKey& key) = 0;
  // data == nullptr asks for the size only. size is in/out, in bytes.
  virtual std::int32_t regQueryValueEx(RegistryKey key, const std::string& valueName, char* data,
                                       std::uint32_t& size) = 0;
  virtual std::int32_t regCloseKey(RegistryKey key) = 0;
};

}  // namespace kalmor
