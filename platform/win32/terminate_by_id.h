// Ends a process known only by its id: what Stop and an interrupt both do.
#pragma once

#include <cstdint>

namespace kalmor {

// False when the process could not be opened (gone already, or not ours to
// end) or refused to end.
bool TerminateById(std::uint32_t processId, std::uint32_t exitCode);

}  // namespace kalmor
