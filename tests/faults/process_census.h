// What a process holds, read from /proc: its children (zombies included),
// descriptors and resident memory, and which processes name a given path.
// The fault suite checks runs leave nothing behind; the benchmarks count growth.
#pragma once

#include <string>
#include <vector>

namespace kalmor::census {

// Direct children of pid, from /proc/<pid>/task/*/children.
std::vector<int> ChildrenOf(int pid);
// The state letter of /proc/<pid>/stat ('R', 'S', 'Z', ...), '\0' when gone.
char ProcessState(int pid);
// Open descriptors of this process.
int OpenDescriptors();
// VmRSS of this process in KiB; -1 when unreadable.
long ResidentKiB();
// Live processes other than this one whose command line contains text.
std::vector<int> ProcessesMentioning(const std::string& text);

}  // namespace kalmor::census
