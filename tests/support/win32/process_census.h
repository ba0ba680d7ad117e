// Which processes run and what this process holds: a run must leave no
// solver and no handle behind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kalmor::probes {

// Running processes whose program file name starts with prefix (any case).
std::vector<std::uint32_t> ProcessesNamed(const std::string& prefix);
// Kernel handles this process holds: by GetProcessHandleCount, or where that
// answers 0 (Wine 8) by the system's handle list; 0 when neither works.
std::uint32_t OpenHandles();

}  // namespace kalmor::probes
