// The exit code of a process the platform created; the checker itself never reads it.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/platform.h"

namespace kalmor::probes {

// nullopt while the process still runs or when its handle is unusable.
std::optional<std::uint32_t> ProcessExitCode(const ProcessRecord& process);

}  // namespace kalmor::probes
