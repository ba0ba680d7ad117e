#pragma once

#include "sysinfo/system_type_queries.h"

namespace kalmor {

// Whether the management service names a 64-bit system; false on any failure.
bool Is64BitSystem(SystemTypeQueries& queries);

}  // namespace kalmor
