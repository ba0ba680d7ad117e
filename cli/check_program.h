// kalmor-check from its arguments to its exit status.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kalmor {

// Writes UTF-8 text to standard output, or to standard error when error is set.
using ConsoleWriter = std::function<void(const std::string& text, bool error)>;
// The system's platform, working in folder where one is given.
using PlatformFactory = std::function<std::unique_ptr<Platform>(std::optional<std::string> folder)>;

int RunKalmorCheck(const std::vector<std::string>& args, const PlatformFactory& makePlatform,
                   const ConsoleWriter& write);

}  // namespace kalmor
