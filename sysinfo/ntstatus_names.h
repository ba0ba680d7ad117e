// Names of the Windows status codes that end a crashed or unloadable program.
#pragma once

#include <cstdint>

namespace kalmor {

// "STATUS_ACCESS_VIOLATION" for 0xC0000005 and so on; nullptr for a code not listed.
const char* NtStatusName(std::uint32_t status);

}  // namespace kalmor
