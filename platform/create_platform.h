#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace kalmor {

// The running system's platform. programFolder replaces the folder of the
// executable where given (tests and the demo use it).
std::unique_ptr<Platform> CreateSystemPlatform(
    std::optional<std::string> programFolder = std::nullopt);

}  // namespace kalmor
