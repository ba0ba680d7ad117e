// What this process holds and which processes run, for the Windows fault
// cases and the soak: a run must leave no solver, handle or memory behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kalmor::probes {

// Running processes whose program file name starts with prefix (any case).
std::vector<std::uint32_t> ProcessesNamed(const std::string& prefix);
// Live processes whose parent is this process.
std::vector<std::uint32_t> ChildrenOfThisProcess();
// Kernel handles this process holds, and how they were counted: by
// GetProcessHandleCount, or where that answers 0 (Wine 8) by the system's
// handle list. Count 0 when neither works.
struct HandleCount {
  std::uint32_t count = 0;
  const char* source = "none";
};
HandleCount OpenHandles();

// Private bytes are the committed private pages of the address space, summed
// by VirtualQuery: GetProcessMemoryInfo answers 0 for them under Wine 8.
struct MemoryUse {
  std::size_t privateBytes = 0;
  std::size_t workingSet = 0;
};
MemoryUse ThisProcessMemory();

}  // namespace kalmor::probes
