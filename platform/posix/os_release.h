// The distribution's own name for the operating-system line.
#pragma once

#include <filesystem>
#include <string>

namespace kalmor {

// PRETTY_NAME from <root>/etc/os-release, else from <root>/usr/lib/os-release.
// Throws std::runtime_error when neither file names the system.
std::string PosixSystemName(const std::filesystem::path& root = "/");

}  // namespace kalmor
