// The distribution's own name for the operating-system line.
#pragma once

#include <filesystem>
#include <string>

#include "platform/result.h"

namespace kalmor {

// PRETTY_NAME from <root>/etc/os-release, else from <root>/usr/lib/os-release.
// ENOENT when neither file names the system.
Result<std::string> PosixSystemName(const std::filesystem::path& root = "/");

}  // namespace kalmor
