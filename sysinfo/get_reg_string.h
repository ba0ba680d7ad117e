#pragma once

#include <cstdint>
#include <string>

#include "sysinfo/registry_queries.h"

namespace kalmor {

// The string stored in a registry value, in the system's ANSI code page;
// empty (or blanks) for anything it cannot read. Never throws.
std::string GetRegString(RegistryQueries& registry, std::uint32_t root, const std::string& keyPath,
                         const std::string& valueName);

}  // namespace kalmor
