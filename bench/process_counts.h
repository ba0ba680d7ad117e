// What the benchmarks count of this process, read from /proc: its children
// (zombies included), their states, and its resident memory.
#pragma once

#include <vector>

namespace kalmor::census {

// Direct children of pid, from /proc/<pid>/task/*/children.
std::vector<int> ChildrenOf(int pid);
// The state letter of /proc/<pid>/stat ('R', 'S', 'Z', ...), '\0' when gone.
char ProcessState(int pid);
// VmRSS of this process in KiB; -1 when unreadable.
long ResidentKiB();

}  // namespace kalmor::census
