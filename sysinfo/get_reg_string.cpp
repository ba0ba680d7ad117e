#include "sysinfo/get_reg_string.h"

#include <algorithm>
#include <cstddef>

namespace kalmor {

std::string GetRegString(RegistryQueries& registry, std::uint32_t root, const std::string& keyPath,
                         const std::string& valueName) {
  // A failed open leaves the key at 0, so the queries below fail on their own.
  RegistryKey key = 0;
  registry.regOpenKeyEx(root, keyPath, 0, kKeyQueryValue, key);
  std::uint32_t size = 0;
  registry.regQueryValueEx(key, valueName, nullptr, size);
  std::string text(size, ' ');
  if (registry.regQueryValueEx(key, valueName, text.data(), size) == 0) {
    // The stored size counts the terminating NUL; a value of size 0 has none to drop.
    text.resize(size == 0 ? 0 : std::min<std::size_t>(size - 1, text.size()));
  }
  registry.regCloseKey(key);
  return text;
}

}  // namespace kalmor
